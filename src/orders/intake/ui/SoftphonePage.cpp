#include "orders/intake/ui/SoftphonePage.h"

#include "orders/intake/SoftphonePanel.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QLineEdit* field(QFormLayout* form, const QString& caption, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    form->addRow(caption, box);
    return box;
}

// Ticked or not by TARIF.INI only: the dispatcher sees it but cannot change it.
QCheckBox* shownBox(const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// The lists are built again only when the devices changed, so a refresh never loses
// the dispatcher's place in them.
void showDevices(QListWidget* list, const QStringList& devices, int selected)
{
    const QSignalBlocker quiet(list);
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    if (shown != devices) {
        list->clear();
        list->addItems(devices);
    }
    list->setCurrentRow(selected);
}

} // namespace

SoftphonePage::SoftphonePage(SoftphonePanel& panel, IPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_panel(panel), m_prompts(prompts)
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildLine(), 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildHeadset(), 1);
    right->addWidget(buildLastCall());
    layout->addLayout(right, 1);

    // The panel is the context of what goes to it: the order form outlives it.
    connect(m_connect, &QPushButton::clicked, &m_panel, &SoftphonePanel::pressConnect);
    connect(m_inputs, &QListWidget::currentRowChanged, &m_panel,
            [this](int row) { m_panel.headset().selectInput(row); });
    connect(m_outputs, &QListWidget::currentRowChanged, &m_panel,
            [this](int row) { m_panel.headset().selectOutput(row); });
    connect(m_saveHeadset, &QPushButton::clicked, &m_panel, [this] {
        m_panel.headset().save(m_prompts);
        showHeadset();
    });
    connect(&m_panel, &SoftphonePanel::pageChanged, this, &SoftphonePage::refresh);
    refresh();
}

QWidget* SoftphonePage::buildLine()
{
    auto* group = new QGroupBox(QStringLiteral("  Налаштування IP телефонії  "), this);
    auto* column = new QVBoxLayout(group);
    auto* form = new QFormLayout;
    m_server = field(form, QStringLiteral("IP:port SIP server :"), group);
    m_port = field(form, QStringLiteral("Порт сервера :"), group);
    m_extension = field(form, QStringLiteral("Внутрішній номер :"), group);
    m_password = field(form, QStringLiteral("Пароль зєднання :"), group);
    m_password->setEchoMode(QLineEdit::Password);
    m_cityCode = field(form, QStringLiteral("Код свого міста :"), group);
    m_proxy = field(form, QStringLiteral("Proxy :"), group);
    m_stun = field(form, QStringLiteral("STUN сервер :"), group);
    m_digits = field(form, QStringLiteral("Кількість цифр для видалення :"), group);
    m_publicAddress = field(form, QStringLiteral("Публічна адреса :"), group);
    column->addLayout(form);
    m_outgoing = shownBox(QStringLiteral("ДОЗВІЛ ВИХІДНИХ ЗВІНКІВ"), group);
    m_prefixAsContact = shownBox(QStringLiteral("ПРЕФІКС ЯК КОНТАКТНИЙ ТЕЛЕФОН ЗАМОВЛЕННЯ"), group);
    column->addWidget(m_outgoing);
    column->addWidget(m_prefixAsContact);
    m_connect = new QPushButton(group);
    m_connect->setMinimumHeight(40);
    QFont bold = m_connect->font();
    bold.setBold(true);
    m_connect->setFont(bold);
    column->addWidget(m_connect);
    column->addStretch(1);
    return group;
}

QWidget* SoftphonePage::buildHeadset()
{
    auto* group = new QGroupBox(QStringLiteral("  Звукова гарнітура  "), this);
    auto* column = new QVBoxLayout(group);
    column->addWidget(new QLabel(QStringLiteral("Мікрофон (вхід) :"), group));
    m_inputs = new QListWidget(group);
    column->addWidget(m_inputs);
    column->addWidget(new QLabel(QStringLiteral("Навушники (вихід) :"), group));
    m_outputs = new QListWidget(group);
    column->addWidget(m_outputs);
    m_saveHeadset =
        new QPushButton(QStringLiteral("Зберегти налаштування гарнітури для даного компютера"), group);
    column->addWidget(m_saveHeadset);
    return group;
}

QWidget* SoftphonePage::buildLastCall()
{
    auto* group = new QGroupBox(QStringLiteral("  Останній дзвінок  "), this);
    auto* form = new QFormLayout(group);
    m_fullAddress = field(form, QStringLiteral("Повна адреса SIP :"), group);
    m_withPrefix = field(form, QStringLiteral("Номер з префіксом :"), group);
    m_withPrefix->setToolTip(QStringLiteral("Подвійний клік: виконати звінок на цей номер"));
    m_withPrefix->installEventFilter(this);
    m_withoutDigits = field(form, QStringLiteral("Номер без цифр коду :"), group);
    m_withoutCode = field(form, QStringLiteral("Номер без коду :"), group);
    m_incomingCount = field(form, QStringLiteral("Дзвінків оператору :"), group);
    m_missedCount = field(form, QStringLiteral("Пропущених дзвінків :"), group);
    m_outgoingCount = field(form, QStringLiteral("Вихідних дзвінків :"), group);
    return group;
}

void SoftphonePage::refresh()
{
    const SoftphonePanel::Settings& settings = m_panel.settings();
    m_server->setText(settings.server);
    m_port->setText(settings.port);
    m_extension->setText(settings.extension);
    m_password->setText(settings.password);
    m_cityCode->setText(settings.cityCode);
    m_proxy->clear(); // no proxy: the agent talks to the server itself
    m_stun->setText(settings.stunHost);
    m_digits->setText(settings.digitsToDelete);
    m_publicAddress->setText(settings.publicAddress);
    m_outgoing->setChecked(settings.outgoingCalls);
    m_prefixAsContact->setChecked(settings.prefixAsContact);

    m_connect->setText(m_panel.connectCaption());
    m_connect->setStyleSheet(m_panel.connectPressed() ? QStringLiteral("color: rgb(128, 0, 0);")
                                                      : QStringLiteral("color: silver;"));
    m_connect->setEnabled(m_panel.connectEnabled());
    showHeadset();

    const CallerNumber& last = m_panel.lastCaller();
    m_fullAddress->setText(last.fullAddress);
    m_withPrefix->setText(last.withPrefix);
    m_withoutDigits->setText(last.withoutDigits);
    m_withoutCode->setText(last.withoutCode);
    m_incomingCount->setText(QString::number(m_panel.incomingCount()));
    m_missedCount->setText(QString::number(m_panel.missedCount()));
    m_outgoingCount->setText(QString::number(m_panel.outgoingCount()));
}

void SoftphonePage::showHeadset()
{
    HeadsetSettings& headset = m_panel.headset();
    showDevices(m_inputs, headset.inputDevices(), headset.selectedInput());
    showDevices(m_outputs, headset.outputDevices(), headset.selectedOutput());
    const bool open = !headset.locked();
    m_inputs->setEnabled(open);
    m_outputs->setEnabled(open);
    m_saveHeadset->setEnabled(open);
}

bool SoftphonePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_withPrefix && event->type() == QEvent::MouseButtonDblClick) {
        m_panel.dialLastCaller();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
