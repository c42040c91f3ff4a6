#include "mainwindow/ui/DriverActions.h"

#include "dispatch/DispatchContext.h"
#include "mainwindow/MainWindowCommands.h"
#include "mainwindow/ui/CommandItems.h"
#include "mainwindow/ui/DeskOpeners.h"
#include "mainwindow/ui/HotOrdersPage.h"
#include "mainwindow/ui/TForm1.h"

#include <QMenu>
#include <QTableView>
#include <QToolBar>

DriverActions::DriverActions(DeskOpeners& open) : m_open(open)
{
    TForm1& form = open.form();
    MainWindowCommands& commands = open.commands();
    IPrompts& prompts = open.context().prompts;
    QToolBar& strip = *form.driverTools();
    CommandItems::add(strip, QStringLiteral("В ефір"), QStringLiteral("Відкрити водія в ефір (Ins)"), prompts,
                      [&open] { open.putDriverOnAir(); });
    // The current driver of the list, on the stand page too: the queue prompt is Del's.
    CommandItems::add(strip, QStringLiteral("З ефіру"), QStringLiteral("Зняти вибраного водія з ефіра"),
                      prompts, [&commands] { commands.driverAir().takeCurrentDriverOffAir(); });
    CommandItems::add(strip, QStringLiteral("Повідомлення"),
                      QStringLiteral("Відправити текстове повідомлення водію (Ctrl+Ins)"), prompts,
                      [&form, &commands] {
                          if (form.driversPageShown())
                              commands.messages().sendToCurrentDriver();
                      });
    CommandItems::add(strip, QStringLiteral("Картка"), QStringLiteral("Відкрити карточку водія"), prompts,
                      [&open, &form, &commands] {
                          open.carCard(commands.openers().driverCardForDriver(form.driversPageShown()));
                      });
    CommandItems::add(strip, QStringLiteral("Чорний список"), QStringLiteral("Відкрити чорний список водіїв"),
                      prompts, [&open] { open.blackList(); });
    for (QTableView* grid : {form.grid(TForm1::Drivers), form.extraDriversGrid()})
        CommandItems::installPopup(*grid, [this](QMenu& menu) { fillMenu(menu); });
}

void DriverActions::fillMenu(QMenu& menu)
{
    DeskOpeners& open = m_open;
    TForm1& form = open.form();
    MainWindowCommands& commands = open.commands();
    IPrompts& prompts = open.context().prompts;
    // The default item offers the current driver for the order shown; its caption says
    // why when there is nothing to hand out.
    const HandOutCommands::Shown shown{form.ordersPage(), form.hotPage()->selectedHotOrder()};
    const QString caption = commands.handOut().assignmentCaption(shown);
    menu.setDefaultAction(CommandItems::add(
        menu, caption, {}, prompts, [&commands, caption] { commands.handOut().assignByCaption(caption); }));
    CommandItems::add(menu, QStringLiteral("Створити підсадку кодованого клієнта до вибраного позивного"), {},
                      prompts, [&commands] { commands.handOut().createPickUp(); });
    menu.addSeparator();
    const std::pair<const char*, DriversFilter::Kind> filters[] = {
        {"Загальний список", DriversFilter::Kind::All},
        {"Відібрати вільних водіїв", DriversFilter::Kind::Free},
        {"Відібрати вільних водіїв які зареєстровані на стоянках", DriversFilter::Kind::FreeAtStands}};
    for (const auto& [text, kind] : filters) {
        QAction* item =
            CommandItems::add(menu, QString::fromUtf8(text), {}, prompts, [&form, &commands, kind] {
                commands.driversFilter().choose(kind);
                form.reloadLists();
            });
        item->setCheckable(true);
        item->setChecked(commands.driversFilter().checked() == kind);
    }
    menu.addSeparator();
    CommandItems::add(menu, QStringLiteral("Відкрити нового водія в ефір"), {}, prompts,
                      [&open] { open.putDriverOnAir(); });
    CommandItems::add(menu, QStringLiteral("Відкрити карточку водія"), {}, prompts,
                      [&open, &form, &commands] {
                          open.carCard(commands.openers().driverCardForDriver(form.driversPageShown()));
                      });
    if (commands.marks().resetItemsVisible()) {
        CommandItems::add(menu, QStringLiteral("Обнулити помітку ювілейної поїздки (якщо прийшов час)"), {},
                          prompts, [&commands] { commands.marks().resetJubileeMarks(); });
        CommandItems::add(menu, QStringLiteral("Обнулити помітку перекриття поїздки (якщо прийшов час)"), {},
                          prompts, [&commands] { commands.marks().resetRefusalMarks(); });
    }
    QAction* autoUpdate = CommandItems::add(menu, QStringLiteral("Автоматичне обновлення поміток"), {},
                                            prompts, [&commands] { commands.marks().toggleAutoUpdate(); });
    autoUpdate->setCheckable(true);
    autoUpdate->setChecked(commands.marks().autoUpdate());
    CommandItems::add(menu, QStringLiteral("Перегляд місцезнаходження автомобіля"), {}, prompts,
                      [&open, &commands] { open.map(commands.openers().driverStandOnMap()); });
    CommandItems::add(menu, QStringLiteral("Відправити текстове повідомлення водію"), {}, prompts,
                      [&commands] { commands.messages().sendToCurrentDriver(); });
    // A command of the order maintenance window that needs no order.
    CommandItems::add(menu, QStringLiteral("Зняти / обнулити помітку GPRS всім водіям"), {}, prompts,
                      [&open] { open.resetGprsMarkers(); });
}
