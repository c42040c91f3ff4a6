#include "mainwindow/ui/ExecutedActions.h"

#include "dispatch/DispatchContext.h"
#include "mainwindow/MainWindowCommands.h"
#include "mainwindow/ui/CommandItems.h"
#include "mainwindow/ui/DeskOpeners.h"
#include "mainwindow/ui/TForm1.h"

#include <QMenu>
#include <QTableView>
#include <QToolBar>

namespace {
using Variant = OrderMaintenanceRequest::Variant;
}

ExecutedActions::ExecutedActions(DeskOpeners& open) : m_open(open)
{
    TForm1& form = open.form();
    MainWindowCommands& commands = open.commands();
    IPrompts& prompts = open.context().prompts;
    QToolBar& strip = *form.executedTools();
    CommandItems::add(strip, QStringLiteral("На карті"),
                      QStringLiteral("Перегляд початково / кінцевого пункта"), prompts,
                      [&open, &commands] { open.map(commands.openers().executedPointOnMap()); });
    CommandItems::add(strip, QStringLiteral("Знищити"), QStringLiteral("Знищення виконаного замовлення"),
                      prompts, [&open] { open.maintenance(Variant::DeleteExecuted); });
    CommandItems::add(strip, QStringLiteral("Редагувати"), QStringLiteral("Редагувати вибране замовлення"),
                      prompts, [&open] { open.maintenance(Variant::EditExecuted); });
    CommandItems::installPopup(*form.grid(TForm1::Executed), [this](QMenu& menu) { fillMenu(menu); });
}

void ExecutedActions::fillMenu(QMenu& menu)
{
    DeskOpeners& open = m_open;
    MainWindowCommands& commands = open.commands();
    IPrompts& prompts = open.context().prompts;
    CommandItems::add(menu, QStringLiteral("Редагувати / закрити вибране вибране замовлення"), {}, prompts,
                      [&open] { open.maintenance(Variant::EditExecuted); });
    CommandItems::add(menu, QStringLiteral("Знищення вибраного замовлення"), {}, prompts,
                      [&open] { open.maintenance(Variant::DeleteExecuted); });
    CommandItems::add(
        menu, QStringLiteral("Показати на карті початковий пункт або кінцевий пункт (при вказаних даних)"),
        {}, prompts, [&open, &commands] { open.map(commands.openers().executedPointOnMap()); });
}
