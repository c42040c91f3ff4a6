#include "orders/maintenance/ui/TForm11.h"

#include "orders/maintenance/OrderMaintenanceController.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

using Group = OrderMaintenanceRequest::Group;
using Command = OrderMaintenanceController::Command;

struct Item
{
    Command command;
    const char* caption;
    const char* explanation;
};

struct GroupItems
{
    Group group;
    const char* caption;
    std::vector<Item> items;
};

const char* const kRecalculateExplanation =
    "Повторний перерахунок розрахункової суми оплати поїздки у випадку зміни маршрута";
const char* const kClientExplanation =
    "Зміна кода клієнта вибраного замовлення на заданий. Можливість зміни є тільки "
    "на звичайному платному замовлені.";

// The open-orders page ("ACTIV_ZAM"), top to bottom.
const std::vector<GroupItems>& openGroups()
{
    static const std::vector<GroupItems> groups = {
        {Group::Close,
         "  Закриття замовлення  ...  ",
         {{Command::Close, "Закрити замовлення",
           "Закриття вибраного замовлення без зміни баланса водія і клієнта. Можливість закрити є тільки "
           "замовлення на якому немає водія з GPRS зєднанням, інакше водій сам повинен закрити замовлення."},
          {Command::CloseDue, "Закрити групу замовлень",
           "Закриття групи замовлень без зміни баланса водія і клієнта. Можливість закрити є тільки "
           "замовлення "
           "на якому немає водіїв з GPRS зєднанням і прийшов час закриття замовлення, інакше водій сам "
           "повинен "
           "закрити замовлення (у випадку GPRS зєднання)."},
          {Command::CloseWithBalance, "Закрити з оплатою з баланса",
           "Закриття вибраного замовлення зі зміною баланса водія і клієнта. Можливість закрити є тільки "
           "замовлення на якому немає водія з GPRS зєднанням, інакше водій сам повинен закрити замовлення зі "
           "зміною баланса."},
          {Command::ForceCloseGprs, "Примусово закрити",
           "Примусове закриття замовлення з активним GPRS зєднанням водія."},
          {Command::ResetGprsMarkers, "Обнулити помітки GPRS",
           "Закриття групи водіїв GPRS (обнулення помітки GPRS). Увага !!! Обнулення помітки GPRS виконуйте "
           "у "
           "крайніх випадках, наприклад коли : пропав звязок з компютером який опрацьовує запити водіїв "
           "GPRS, "
           "або пропав інтернет і не обнулилися помітки GPRS."}}},
        {Group::ClientCode,
         "  Зміна кода клієнта ...  ",
         {{Command::ChangeClient, "Змінити код клієнта", kClientExplanation}}},
        {Group::Driver,
         "  Зміна водія замовлення ...  ",
         {{Command::ChangeDriver, "Змінити водія",
           "Зміна водія вибраного замовлення на іншого активного водія (при умові його не задіяності)"}}},
        {Group::Status, "  Зміна статуса замовлення  ...  ", {{Command::ToggleFree, "Змінити статус", ""}}},
        {Group::Deletion,
         "  Знищення замовлення  ...  ",
         {{Command::Delete, "Знищити замовлення",
           "Знищення вибраного активного замовлення, вказавши причину знищення."}}},
        {Group::Recalculate,
         "  Перерахунок маршрута  і  суми оплати  ...  ",
         {{Command::Recalculate, "Перерахувати", kRecalculateExplanation}}},
    };
    return groups;
}

// The archived orders' page ("CLOSE_ZAM"), top to bottom.
const std::vector<GroupItems>& archivedGroups()
{
    static const std::vector<GroupItems> groups = {
        {Group::ClientCode,
         "  Зміна кода клієнта ...  ",
         {{Command::ChangeClient, "Змінити код клієнта", kClientExplanation}}},
        {Group::Driver,
         "  Зміна водія замовлення ...  ",
         {{Command::ChangeDriver, "Змінити водія", "Зміна водія вибраного замовлення на іншого водія."}}},
        {Group::Status,
         "  Зміна статуса замовлення  ...  ",
         {{Command::ToggleFree, "Змінити статус",
           "Зміна статуса замовлення (ювілейна поїздка <-> Платна поїздка, і навпаки) "}}},
        {Group::Balance,
         "  Зміна балансу замовлення  ...  ",
         {{Command::SetPayment, "Змінити баланс",
           "Одноразова зміна баланса закритого платного замовлення (змінюється нульова сума). Після закриття "
           "вказана сума добавляється до аванса водія і знімається з баланса клієнта."}}},
        {Group::Deletion,
         "  Знищення замовлення  ...  ",
         {{Command::Delete, "Знищити замовлення",
           "Знищення вибраного закритого замовлення, вказавши причину знищення."}}},
        {Group::Recalculate,
         "  Перерахунок маршрута  і  суми оплати  ...  ",
         {{Command::Recalculate, "Перерахувати", kRecalculateExplanation}}},
    };
    return groups;
}

} // namespace

TForm11::TForm11(QWidget* parent)
    : FormShell(QStringLiteral("Форма редагування вибраного замовлення ..."), parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* column = new QVBoxLayout(this);
    auto* header = new QFormLayout;
    for (const char* caption : {"Номер замовлення", "Код клієнта", "Позивний", "Ювілейна", "ФІО водія"}) {
        auto* value = new QLabel(this);
        header->addRow(QString::fromUtf8(caption), value);
        m_header << qMakePair(QString::fromUtf8(caption), value);
    }
    column->addLayout(header);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildPage(false, m_openPage));
    m_pages->addWidget(buildPage(true, m_archivedPage));
    // The explanations wrap: squeezed into the window's height they were cut off at top
    // and bottom. In a scroll area each keeps the height its text needs.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(m_pages);
    column->addWidget(scroll, 1);
    resize(760, 700);
}

QWidget* TForm11::buildPage(bool archived, Page& page)
{
    const std::vector<GroupItems>& groups = archived ? archivedGroups() : openGroups();
    auto* widget = new QWidget(this);
    auto* column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    for (const GroupItems& group : groups) {
        auto* box = new QGroupBox(QString::fromUtf8(group.caption), widget);
        auto* rows = new QVBoxLayout(box);
        for (const Item& item : group.items) {
            auto* line = new QHBoxLayout;
            if (item.command == Command::ChangeDriver) {
                page.driverChoice = new QComboBox(box);
                page.driverChoice->setMinimumWidth(240);
                page.driverChoice->installEventFilter(this);
                line->addWidget(page.driverChoice);
            }
            auto* button = new QPushButton(QString::fromUtf8(item.caption), box);
            line->addWidget(button);
            auto* explanation = new QLabel(QString::fromUtf8(item.explanation), box);
            explanation->setWordWrap(true);
            line->addWidget(explanation, 1);
            rows->addLayout(line);
            QComboBox* choice = page.driverChoice;
            connect(button, &QPushButton::clicked, this, [this, command = item.command, choice] {
                if (m_controller)
                    m_controller->run(command, choice ? choice->currentText() : QString());
            });
        }
        column->addWidget(box);
        page.groups.insert(group.group, box);
    }
    column->addStretch();
    return widget;
}

void TForm11::setController(OrderMaintenanceController& controller)
{
    m_controller = &controller;
    connect(&controller, &OrderMaintenanceController::showRequested, this, [this] {
        showRequest();
        show();
        raise();
    });
    connect(&controller, &OrderMaintenanceController::closeRequested, this, &QWidget::close);
}

void TForm11::showRequest()
{
    const auto& request = m_controller->request();
    if (!request)
        return;
    const QStringList values = {QString::number(request->number), QString::number(request->clientCode),
                                request->callsign == 0 ? QString() : QString::number(request->callsign),
                                request->freeRide, request->driverName};
    for (int i = 0; i < m_header.size(); ++i)
        m_header[i].second->setText(values[i]);
    const bool archived = m_controller->archivedPage();
    m_pages->setCurrentIndex(archived ? 1 : 0);
    // Only the groups the main window asked for.
    Page& page = archived ? m_archivedPage : m_openPage;
    for (auto it = page.groups.begin(); it != page.groups.end(); ++it)
        it.value()->setVisible(request->visibleGroups.contains(it.key()));
    // The driver list is read again as it drops down.
    page.driverChoice->clear();
}

QGroupBox* TForm11::group(OrderMaintenanceRequest::Group group) const
{
    const bool archived = m_controller && m_controller->archivedPage();
    return (archived ? m_archivedPage : m_openPage).groups.value(group);
}

QComboBox* TForm11::driverChoice() const
{
    const bool archived = m_controller && m_controller->archivedPage();
    return (archived ? m_archivedPage : m_openPage).driverChoice;
}

QString TForm11::headerValue(const QString& caption) const
{
    for (const auto& [shown, value] : m_header)
        if (shown == caption)
            return value->text();
    return {};
}

bool TForm11::eventFilter(QObject* watched, QEvent* event)
{
    for (QComboBox* choice : {m_openPage.driverChoice, m_archivedPage.driverChoice})
        if (m_controller && watched == choice && event->type() == QEvent::MouseButtonPress) {
            choice->clear();
            choice->addItems(m_controller->driverChoices());
        }
    return FormShell::eventFilter(watched, event);
}
