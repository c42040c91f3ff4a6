#include "orders/maintenance/ui/TForm11.h"

#include "orders/maintenance/OrderMaintenanceController.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
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

const std::vector<GroupItems>& commandGroups()
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
         {{Command::ChangeClient, "Змінити код клієнта",
           "Зміна кода клієнта вибраного замовлення на заданий. Можливість зміни є тільки на звичайному "
           "платному замовлені."}}},
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
         {{Command::Recalculate, "Перерахувати",
           "Повторний перерахунок розрахункової суми оплати поїздки у випадку зміни маршрута"}}},
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
    for (const GroupItems& group : commandGroups()) {
        auto* box = new QGroupBox(QString::fromUtf8(group.caption), this);
        auto* rows = new QVBoxLayout(box);
        for (const Item& item : group.items) {
            auto* line = new QHBoxLayout;
            if (item.command == Command::ChangeDriver) {
                m_driverChoice = new QComboBox(box);
                m_driverChoice->setMinimumWidth(240);
                m_driverChoice->installEventFilter(this);
                line->addWidget(m_driverChoice);
            }
            auto* button = new QPushButton(QString::fromUtf8(item.caption), box);
            line->addWidget(button);
            auto* explanation = new QLabel(QString::fromUtf8(item.explanation), box);
            explanation->setWordWrap(true);
            line->addWidget(explanation, 1);
            rows->addLayout(line);
            connect(button, &QPushButton::clicked, this, [this, command = item.command] {
                if (m_controller)
                    m_controller->run(command, m_driverChoice ? m_driverChoice->currentText() : QString());
            });
        }
        column->addWidget(box);
        m_groups.insert(group.group, box);
    }
    column->addStretch();
    resize(760, 640);
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
    // Only the groups the main window asked for, and of those only what is built for the
    // order's page.
    for (const GroupItems& group : commandGroups()) {
        bool available = false;
        for (const Item& item : group.items)
            available = available || m_controller->available(item.command);
        m_groups.value(group.group)->setVisible(request->visibleGroups.contains(group.group) && available);
    }
    // The driver list is read again as it drops down.
    m_driverChoice->clear();
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
    if (m_controller && watched == m_driverChoice && event->type() == QEvent::MouseButtonPress) {
        m_driverChoice->clear();
        m_driverChoice->addItems(m_controller->driverChoices());
    }
    return FormShell::eventFilter(watched, event);
}
