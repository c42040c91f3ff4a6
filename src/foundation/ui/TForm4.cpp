#include "foundation/ui/TForm4.h"

#include "foundation/ServerSettings.h"
#include "foundation/SettingCaptions.h"
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

    // Only the analyser computer may write or open the log: the log-in decides.
    m_forcedAnalysis = new QPushButton(QStringLiteral("Примусовий аналіз ..."), this);
    m_openAnalysisFile = new QPushButton(QStringLiteral("Відкрити файл аналізу роботи"), this);
    for (QPushButton* button : {m_forcedAnalysis, m_openAnalysisFile}) {
        button->setEnabled(store.flag(SettingKeys::kAnalysisAllowed));
        groupLayout(SettingsStore::kAnalysisGroup)->addRow(button);
    }
    connect(m_forcedAnalysis, &QPushButton::clicked, this, &TForm4::forcedAnalysisRequested);
    connect(m_openAnalysisFile, &QPushButton::clicked, this, &TForm4::openAnalysisFileRequested);

    connect(&store, &SettingsStore::valueChanged, this, &TForm4::showValue);
    LoadServerSettings(store);
}

QString TForm4::captionOf(const QString& key)
{
    return SettingCaptions::of(key).text;
}

QFormLayout* TForm4::groupLayout(const QString& group)
{
    auto it = m_groups.find(group);
    return it != m_groups.end() ? *it : m_groups.value(SettingsStore::kUserGroup);
}

QFormLayout* TForm4::layoutFor(const QString& key)
{
    if (!SettingCaptions::of(key).autoDistribution)
        return groupLayout(m_store.groupOf(key));
    if (!m_autoDistribution) {
        auto* box = new QGroupBox(SettingCaptions::kAutoDistributionGroup, this);
        m_autoDistribution = new QFormLayout(box);
        groupLayout(SettingsStore::kOrderLogicGroup)->addRow(box);
    }
    return m_autoDistribution;
}

void TForm4::showValue(const QString& key)
{
    // Shown as check boxes of their own.
    if (key == SettingKeys::kStandShowsGprs || key == SettingKeys::kStandShowsJubilee)
        return;
    // The operator entries carry every operator's SIP password: not for the screen.
    if (key == SettingKeys::kSipOperators)
        return;
    if (key == SettingKeys::kAnalysisAllowed) {
        m_forcedAnalysis->setEnabled(m_store.flag(key));
        m_openAnalysisFile->setEnabled(m_store.flag(key));
    }
    const SettingCaptions::Caption caption = SettingCaptions::of(key);
    if (caption.checkBox) {
        QCheckBox*& box = m_flags[key];
        if (!box) {
            box = new QCheckBox(caption.text, this);
            // A display of the setting, not a switch: the dispatcher cannot change it here.
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setFocusPolicy(Qt::NoFocus);
            layoutFor(key)->addRow(box);
        }
        box->setChecked(m_store.flag(key));
        return;
    }
    QLabel*& label = m_values[key];
    if (!label) {
        label = new QLabel(this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QLabel* beside = new QLabel(caption.text, this);
        m_captions.insert(key, beside);
        layoutFor(key)->addRow(beside, label);
    }
    // The database password, like the operators' SIP passwords, is not for the screen:
    // one fixed mask says that it is set without telling its length.
    const QString value = m_store.value(key);
    label->setText(key == SettingsStore::kPass && !value.isEmpty() ? QStringLiteral("********") : value);
}

QString TForm4::shownCaption(const QString& key) const
{
    if (const QCheckBox* box = m_flags.value(key))
        return box->text();
    const QLabel* caption = m_captions.value(key);
    return caption ? caption->text() : QString();
}

QString TForm4::shownGroup(const QString& key) const
{
    const QWidget* shown = m_flags.value(key);
    if (!shown)
        shown = m_values.value(key);
    for (const QWidget* up = shown ? shown->parentWidget() : nullptr; up; up = up->parentWidget())
        if (const auto* box = qobject_cast<const QGroupBox*>(up))
            return box->title();
    return {};
}

QString TForm4::shownValue(const QString& key) const
{
    const QLabel* label = m_values.value(key);
    return label ? label->text() : QStringLiteral("не задано");
}
