#include "mainwindow/ui/OrderActions.h"

#include "dispatch/DispatchContext.h"
#include "mainwindow/MainWindowCommands.h"
#include "mainwindow/ui/CommandItems.h"
#include "mainwindow/ui/DeskOpeners.h"
#include "mainwindow/ui/OrderRecordPanels.h"
#include "mainwindow/ui/TForm1.h"

#include <QMenu>
#include <QTableView>
#include <QToolBar>

namespace {
using Toggle = OpenOrderFilters::Toggle;
using Variant = OrderMaintenanceRequest::Variant;
} // namespace

OrderActions::OrderActions(DeskOpeners& open) : m_open(open)
{
    TForm1& form = open.form();
    MainWindowCommands& commands = open.commands();
    IPrompts& prompts = open.context().prompts;
    QToolBar& strip = *form.orderTools();
    CommandItems::add(strip, QStringLiteral("Відкрити карточку водія"),
                      QStringLiteral("Відкрити карточку водія"), prompts,
                      [&open, &commands] { open.carCard(commands.openers().driverCardForOrder()); });
    CommandItems::add(strip, QStringLiteral("Відкрити карточку клієнта"),
                      QStringLiteral("Відкрити карточку клієнта"), prompts,
                      [&open, &commands] { open.clientCard(commands.openers().clientCardForOrder()); });
    CommandItems::add(strip, QStringLiteral("Відправити текстове повідомлення водію"),
                      QStringLiteral("Відправити текстове повідомлення водію"), prompts,
                      [&commands] { commands.messages().sendToOrderDriver(); });
    CommandItems::add(strip, QStringLiteral("Редагувати / закрити вибране замовлення"),
                      QStringLiteral("Редагувати / закрити вибране замовлення"), prompts,
                      [&open] { open.maintenance(Variant::Edit); });
    CommandItems::add(strip, QStringLiteral("Знищення вибраного замовлення"),
                      QStringLiteral("Знищення вибраного замовлення"), prompts,
                      [&open] { open.maintenance(Variant::Delete); });
    const QString toggleHints[2] = {
        QStringLiteral("Показ списку замовлень яким час роздачи і попередні замовлення"),
        QStringLiteral("Показ списку замовлень у виконані водіями")};
    const QString toggleCaptions[2] = {QStringLiteral("До роздачі"), QStringLiteral("У виконанні")};
    for (Toggle which : {Toggle::ToHandOut, Toggle::Carried}) {
        QAction* action = CommandItems::add(strip, toggleCaptions[int(which)], toggleHints[int(which)],
                                            prompts, [this, which] { flip(which); });
        action->setCheckable(true); // pressed or raised
        m_toggles[int(which)] = action;
    }
    // Kept hidden, as the design has it.
    QAction* preliminary = strip.addAction(QStringLiteral("Попередні"));
    preliminary->setToolTip(QStringLiteral("Показ списка попередніх замовлень"));
    preliminary->setCheckable(true);
    preliminary->setVisible(false);

    CommandItems::installPopup(*form.grid(TForm1::OpenOrders), [this](QMenu& menu) { fillMenu(menu); });
    if (form.recordPanels())
        CommandItems::installPopup(*form.recordPanels(), [this](QMenu& menu) { fillMenu(menu); });
}

void OrderActions::flip(Toggle which)
{
    OpenOrderFilters& filters = m_open.commands().orderFilters();
    // The list refresh reads the toggles from the window: it must know the new state first.
    m_open.form().setOrderFilters(filters.pressed(Toggle::ToHandOut) != (which == Toggle::ToHandOut),
                                  filters.pressed(Toggle::Carried) != (which == Toggle::Carried));
    filters.flip(which);
    m_toggles[int(which)]->setChecked(filters.pressed(which));
    m_open.form().reloadLists();
}

void OrderActions::fillMenu(QMenu& menu)
{
    MainWindowCommands& commands = m_open.commands();
    IPrompts& prompts = m_open.context().prompts;
    DeskOpeners& open = m_open;
    QAction* newOrder = CommandItems::add(menu, QStringLiteral("Створити нове замовлення"), {}, prompts,
                                          [&open] { open.orderForm(OrderFormOpening::NewOrderCard); });
    menu.setDefaultAction(newOrder);
    CommandItems::add(menu, QStringLiteral("Відкрити карточку водія"), {}, prompts,
                      [&open, &commands] { open.carCard(commands.openers().driverCardForOrder()); });
    CommandItems::add(menu, QStringLiteral("Відкрити карточку клієнта"), {}, prompts,
                      [&open, &commands] { open.clientCard(commands.openers().clientCardForOrder()); });
    CommandItems::add(menu, QStringLiteral("Редагувати / закрити вибране вибране замовлення"), {}, prompts,
                      [&open] { open.maintenance(Variant::Edit); });
    CommandItems::add(menu, QStringLiteral("Знищення вибраного замовлення"), {}, prompts,
                      [&open] { open.maintenance(Variant::Delete); });
    CommandItems::add(menu, QStringLiteral("Відправити текстове повідомлення водію"), {}, prompts,
                      [&commands] { commands.messages().sendToOrderDriver(); });
    QMenu* filters = menu.addMenu(QStringLiteral("У таблицю перегляду добавити замовлення ..."));
    const QString items[2] = {QStringLiteral("Активні замовлення до роздачи і попередні замовлення"),
                              QStringLiteral("Замовлення які виконують водії")};
    for (Toggle which : {Toggle::ToHandOut, Toggle::Carried}) {
        QAction* item = filters->addAction(items[int(which)]);
        item->setCheckable(true);
        item->setChecked(commands.orderFilters().menuChecked(which));
        QObject::connect(item, &QAction::triggered, m_toggles[int(which)], &QAction::trigger);
    }
    CommandItems::add(menu, QStringLiteral("Звінок клієнту (на вхідний зареєстрований номер)"), {}, prompts,
                      [&open] { open.callClient(); });
}
