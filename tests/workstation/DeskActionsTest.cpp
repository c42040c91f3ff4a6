#include "WorkstationFixture.h"
#include "mainwindow/ui/MainWindowActions.h"
#include "mainwindow/ui/TForm10.h"
#include "mainwindow/ui/TForm13.h"
#include "support/WaitFor.h"
#include "support/WidgetFinders.h"

#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

namespace {

QStringList captions(const QMenu& menu)
{
    QStringList result;
    for (QAction* action : menu.actions())
        if (!action->isSeparator())
            result << action->text();
    return result;
}

} // namespace

// The tool strips, menus and the bottom bar, each item with its caption and hint.
class DeskActions : public WorkstationWindow
{
protected:
    void SetUp() override
    {
        WorkstationWindow::SetUp();
        logIn();
    }
};

TEST_F(DeskActions, EveryStripHasItsItemsWithTheirHints)
{
    const QList<QPair<QToolBar*, QStringList>> strips = {
        {ws->form1.orderTools(),
         {QStringLiteral("Відкрити карточку водія"), QStringLiteral("Відкрити карточку клієнта"),
          QStringLiteral("Відправити текстове повідомлення водію"),
          QStringLiteral("Редагувати / закрити вибране замовлення"),
          QStringLiteral("Знищення вибраного замовлення"),
          QStringLiteral("Показ списку замовлень яким час роздачи і попередні замовлення"),
          QStringLiteral("Показ списку замовлень у виконані водіями"),
          QStringLiteral("Показ списка попередніх замовлень")}},
        {ws->form1.driverTools(),
         {QStringLiteral("Відкрити водія в ефір (Ins)"), QStringLiteral("Зняти вибраного водія з ефіра"),
          QStringLiteral("Відправити текстове повідомлення водію (Ctrl+Ins)"),
          QStringLiteral("Відкрити карточку водія"), QStringLiteral("Відкрити чорний список водіїв")}},
        {ws->form1.executedTools(),
         {QStringLiteral("Перегляд початково / кінцевого пункта"),
          QStringLiteral("Знищення виконаного замовлення"), QStringLiteral("Редагувати вибране замовлення")}},
        {ws->form1.bottomTools(),
         {QStringLiteral("Створити/редагувати/пошук карточку клієнта"),
          QStringLiteral("Карточка нового замовлення"), QStringLiteral("Відкрити водія в ефір"),
          QStringLiteral("Відкрити форму обміну повідомленнями між диспетчерами"),
          QStringLiteral("Допомога про розміщення гарячих клафіш клавіатури")}}};
    for (const auto& [strip, hints] : strips)
        for (const QString& hint : hints) {
            QAction* action = actionWithHint(strip, hint);
            ASSERT_NE(action, nullptr) << hint.toStdString();
            EXPECT_FALSE(action->text().isEmpty());
        }
    // The third open-order toggle is kept hidden.
    EXPECT_FALSE(
        actionWithHint(ws->form1.orderTools(), QStringLiteral("Показ списка попередніх замовлень"))->isVisible());
}

TEST_F(DeskActions, ThePopupMenusHaveTheirItems)
{
    QMenu orders;
    ws->mainWindow.actions().orders().fillMenu(orders);
    EXPECT_EQ(
        captions(orders),
        QStringList({QStringLiteral("Створити нове замовлення"), QStringLiteral("Відкрити карточку водія"),
                     QStringLiteral("Відкрити карточку клієнта"),
                     QStringLiteral("Редагувати / закрити вибране вибране замовлення"),
                     QStringLiteral("Знищення вибраного замовлення"),
                     QStringLiteral("Відправити текстове повідомлення водію"),
                     QStringLiteral("У таблицю перегляду добавити замовлення ..."),
                     QStringLiteral("Звінок клієнту (на вхідний зареєстрований номер)")}));
    EXPECT_EQ(orders.defaultAction()->text(), QStringLiteral("Створити нове замовлення"));

    QMenu drivers;
    ws->mainWindow.actions().drivers().fillMenu(drivers);
    for (const char* item :
         {"Створити підсадку кодованого клієнта до вибраного позивного", "Загальний список",
          "Відібрати вільних водіїв", "Відібрати вільних водіїв які зареєстровані на стоянках",
          "Відкрити нового водія в ефір", "Відкрити карточку водія",
          "Обнулити помітку ювілейної поїздки (якщо прийшов час)",
          "Обнулити помітку перекриття поїздки (якщо прийшов час)", "Автоматичне обновлення поміток",
          "Перегляд місцезнаходження автомобіля", "Відправити текстове повідомлення водію",
          "Зняти / обнулити помітку GPRS всім водіям"})
        EXPECT_TRUE(captions(drivers).contains(QString::fromUtf8(item))) << item;
    // The default item says why there is nothing to hand out on an empty desk.
    ASSERT_NE(drivers.defaultAction(), nullptr);
    EXPECT_EQ(drivers.defaultAction()->text(), QStringLiteral("Таблиця пуста !!!"));

    QMenu executed;
    ws->mainWindow.actions().executed().fillMenu(executed);
    EXPECT_EQ(
        captions(executed),
        QStringList({QStringLiteral("Редагувати / закрити вибране вибране замовлення"),
                     QStringLiteral("Знищення вибраного замовлення"),
                     QStringLiteral("Показати на карті початковий пункт або кінцевий пункт (при вказаних "
                                    "даних)")}));
}

TEST_F(DeskActions, TheOrderFilterSubmenuStartsWithBothItemsCheckedAndFollowsItsButtons)
{
    auto submenu = [this](QMenu& menu) {
        ws->mainWindow.actions().orders().fillMenu(menu);
        for (QAction* action : menu.actions())
            if (action->menu())
                return action->menu();
        return static_cast<QMenu*>(nullptr);
    };
    QMenu menu;
    QMenu* filters = submenu(menu);
    ASSERT_NE(filters, nullptr);
    ASSERT_EQ(filters->actions().size(), 2);
    EXPECT_EQ(filters->actions()[0]->text(),
              QStringLiteral("Активні замовлення до роздачи і попередні замовлення"));
    EXPECT_EQ(filters->actions()[1]->text(), QStringLiteral("Замовлення які виконують водії"));
    EXPECT_TRUE(filters->actions()[0]->isChecked());
    EXPECT_TRUE(filters->actions()[1]->isChecked());

    // The menu item presses its button: the button shows pressed, the item stays checked.
    filters->actions()[1]->trigger();
    EXPECT_TRUE(ws->mainWindow.actions().orders().toggle(OpenOrderFilters::Toggle::Carried)->isChecked());
    EXPECT_TRUE(ws->form1.pageState().onlyCarried);
    QMenu again;
    EXPECT_TRUE(submenu(again)->actions()[1]->isChecked());
    // Raised again: unchecked.
    ws->mainWindow.actions().orders().toggle(OpenOrderFilters::Toggle::Carried)->trigger();
    QMenu third;
    EXPECT_FALSE(submenu(third)->actions()[1]->isChecked());
    EXPECT_FALSE(ws->form1.pageState().onlyCarried);
}

TEST_F(DeskActions, TheTakeOffAirButtonAsksAboutTheCurrentDriverOnTheStandPageToo)
{
    db->exec(QStringLiteral(
        "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_VULICA, ZAD_AVTO_NOMER_ZAMOVL, "
        "ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_MARKA_AVTO) VALUES (21, 'Вокзал', 0, '0001', 'Ланос')"));
    ASSERT_TRUE(waitFor([&] { return ws->dani.TABL_ZADIANI_AVTO.recordCount() == 1; }));
    ws->form1.driverPages()->setCurrentIndex(1);
    prompts.clear();
    prompts.answerQuestion(false);
    actionWithHint(ws->form1.driverTools(), QStringLiteral("Зняти вибраного водія з ефіра"))->trigger();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, ScriptedPrompts::Shown::Question);
    EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("Зняти вибраного позивного [21] з ефіра ?"));
}

TEST_F(DeskActions, ItemsOfWindowsStillToComeOpenTheirShells)
{
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Карточка нового замовлення"))->trigger();
    EXPECT_TRUE(ws->form2.isVisible());
    ws->form2.close();
    actionWithHint(ws->form1.driverTools(), QStringLiteral("Відкрити чорний список водіїв"))->trigger();
    EXPECT_TRUE(ws->form10->isVisible());
    ws->form10->close();
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Допомога про розміщення гарячих клафіш клавіатури"))
        ->trigger();
    EXPECT_TRUE(ws->form13->isVisible());
    EXPECT_EQ(ws->form13->size(), QSize(500, 250));
    actionWithHint(ws->form1.bottomTools(), QStringLiteral("Відкрити форму обміну повідомленнями між диспетчерами"))
        ->trigger();
    EXPECT_TRUE(ws->form12.isVisible());
}
