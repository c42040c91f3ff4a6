#include "foundation/ui/TForm4.h"

#include "foundation/ServerSettings.h"
#include "foundation/SettingKeys.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

TForm4::TForm4(SettingsStore& store, QWidget* parent)
    : FormShell(QStringLiteral("Налаштування"), parent), m_store(store)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(640, 720);
    auto* outer = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    auto* column = new QVBoxLayout(content);
    for (const QString& caption : SettingsStore::groupCaptions()) {
        auto* box = new QGroupBox(caption, content);
        auto* form = new QFormLayout(box);
        m_groups.insert(caption, form);
        column->addWidget(box);
    }
    column->addStretch();
    scroll->setWidget(content);
    outer->addWidget(scroll);

    const QStringList switchCaptions = {QStringLiteral("показ закладки АКТИВНІ ВОДІЇ"),
                                        QStringLiteral("Показ закладки GPRS ПОВІДОМЛЕННЯ"),
                                        QStringLiteral("Показ додаткової панелі АКТИВНІ ВОДІЇ")};
    for (int i = 0; i < 3; ++i) {
        const auto which = SettingsStore::Switch(i);
        m_switches[i] = new QCheckBox(switchCaptions[i], this);
        m_switches[i]->setChecked(store.switchOn(which));
        groupLayout(SettingsStore::kActiveOrdersGroup)->addRow(m_switches[i]);
        connect(m_switches[i], &QCheckBox::toggled, this,
                [this, which](bool on) { m_store.setSwitch(which, on); });
    }
    // Two options the stand grid reads when it draws its queues.
    const QList<QPair<QString, QString>> options = {
        {SettingKeys::kStandShowsGprs,
         QStringLiteral(
             "До даних водія добавляти статус GPRS (Закладка ГРУПУВАННЯ ПО СТОЯНКАХ ВІЛЬНИХ ВОДІЇВ ...)")},
        {SettingKeys::kStandShowsJubilee,
         QStringLiteral("До даних водія добавляти статус часу ювілейки (Закладка ГРУПУВАННЯ ПО СТОЯНКАХ "
                        "ВІЛЬНИХ ВОДІЇВ ...)")}};
    for (const auto& [key, caption] : options) {
        auto* box = new QCheckBox(caption, this);
        box->setChecked(store.flag(key));
        groupLayout(SettingsStore::kActiveOrdersGroup)->addRow(box);
        connect(box, &QCheckBox::toggled, this,
                [this, key = key](bool on) { m_store.setFlag(SettingsStore::kActiveOrdersGroup, key, on); });
    }
    connect(&store, &SettingsStore::switchChanged, this,
            [this](SettingsStore::Switch which, bool on) { m_switches[int(which)]->setChecked(on); });

    auto* forced = new QPushButton(QStringLiteral("Примусовий аналіз ..."), this);
    auto* openFile = new QPushButton(QStringLiteral("Відкрити файл аналізу роботи"), this);
    groupLayout(SettingsStore::kAnalysisGroup)->addRow(forced);
    groupLayout(SettingsStore::kAnalysisGroup)->addRow(openFile);
    connect(forced, &QPushButton::clicked, this, &TForm4::forcedAnalysisRequested);
    connect(openFile, &QPushButton::clicked, this, &TForm4::openAnalysisFileRequested);

    connect(&store, &SettingsStore::valueChanged, this, &TForm4::showValue);
    LoadServerSettings(store);
}

QString TForm4::captionOf(const QString& key)
{
    static const QHash<QString, QString> captions = {
        {SettingsStore::kServer, QStringLiteral("Сервер")},
        {SettingsStore::kPathBaza, QStringLiteral("Шлях до бази даних")},
        {SettingsStore::kNameBaza, QStringLiteral("Назва бази даних")},
        {SettingsStore::kLogin, QStringLiteral("Логін сервера")},
        {SettingsStore::kPass, QStringLiteral("Пароль сервера")},
    };
    return captions.value(key, key);
}

QFormLayout* TForm4::groupLayout(const QString& group)
{
    auto it = m_groups.find(group);
    return it != m_groups.end() ? *it : m_groups.value(SettingsStore::kUserGroup);
}

void TForm4::showValue(const QString& key)
{
    // Shown as check boxes of their own.
    if (key == SettingKeys::kStandShowsGprs || key == SettingKeys::kStandShowsJubilee)
        return;
    // The operator entries carry every operator's SIP password: not for the screen.
    if (key == SettingKeys::kSipOperators)
        return;
    QLabel*& label = m_values[key];
    if (!label) {
        label = new QLabel(this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        groupLayout(m_store.groupOf(key))->addRow(captionOf(key), label);
    }
    label->setText(m_store.value(key));
}

QString TForm4::shownValue(const QString& key) const
{
    const QLabel* label = m_values.value(key);
    return label ? label->text() : QStringLiteral("не задано");
}
