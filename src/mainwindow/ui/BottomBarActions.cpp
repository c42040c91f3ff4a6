#include "mainwindow/ui/BottomBarActions.h"

#include "dispatch/DispatchContext.h"
#include "mainwindow/ShiftChangeController.h"
#include "mainwindow/ui/CommandItems.h"
#include "mainwindow/ui/DeskOpeners.h"
#include "mainwindow/ui/TForm1.h"

#include <QAction>
#include <QToolBar>

BottomBarActions::BottomBarActions(DeskOpeners& open)
{
    QToolBar& bar = *open.form().bottomTools();
    IPrompts& prompts = open.context().prompts;
    CommandItems::add(bar, QStringLiteral("Карточка клієнта"),
                      QStringLiteral("Створити/редагувати/пошук карточку клієнта"), prompts,
                      [&open] { open.orderForm(OrderFormOpening::ClientCard); });
    CommandItems::add(bar, QStringLiteral("Нове замовлення"), QStringLiteral("Карточка нового замовлення"),
                      prompts, [&open] { open.orderForm(OrderFormOpening::NewOrderCard); });
    m_putOnAir =
        CommandItems::add(bar, QStringLiteral("Водія в ефір"), QStringLiteral("Відкрити водія в ефір"),
                          prompts, [&open] { open.putDriverOnAir(); });
    CommandItems::add(bar, QStringLiteral("Повідомлення диспетчерам"),
                      QStringLiteral("Відкрити форму обміну повідомленнями між диспетчерами"), prompts,
                      [&open] { open.messages(); });
    CommandItems::add(bar, QStringLiteral("Гарячі клавіші"),
                      QStringLiteral("Допомога про розміщення гарячих клафіш клавіатури"), prompts,
                      [&open] { open.hotKeyHelp(); });
}

void BottomBarActions::applyRights(const DispatcherRights& rights)
{
    m_putOnAir->setEnabled(rights.handOut);
}
