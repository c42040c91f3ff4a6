#include "WorkstationFixture.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "mainwindow/ui/TForm10.h"
#include "platform/BaseFolder.h"
#include "platform/ScriptedPrompts.h"
#include "support/DatabaseSuite.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

TEST_F(WorkstationWindow, StartsWithTheShiftChangeAndTheMainWindowDisabled)
{
    EXPECT_TRUE(ws->dani.BAZA.isConnected());
    EXPECT_TRUE(ws->form3.isVisible());
    EXPECT_FALSE(ws->form1.isEnabled());
    EXPECT_FALSE(ws->form1.loggedIn());
    EXPECT_EQ(ws->form1.windowTitle(), QStringLiteral("Диспетчер \"ZORvane-TAXI\"  [TEST.FDB]"));

    emit ws->form3.logInRequested(QStringLiteral("Оля"), QStringLiteral("не той"));
    EXPECT_TRUE(ws->form3.isVisible());
    logIn();
    EXPECT_FALSE(ws->form3.isVisible());
    EXPECT_TRUE(ws->form1.isEnabled());
    EXPECT_EQ(ws->form1.dispatcherName(), QStringLiteral("Оля"));
    // Rights: handing out orders, but no executed and deleted orders.
    EXPECT_TRUE(ws->form1.mainTabs()->isTabVisible(0));
    EXPECT_FALSE(ws->form1.mainTabs()->isTabVisible(1));
    EXPECT_FALSE(ws->form1.mainTabs()->isTabVisible(2));
    // The period runs from roll call to roll call ("800" in the company row).
    EXPECT_EQ(ws->form1.shownPeriodTime(), QStringLiteral("08:00"));
}

TEST_F(WorkstationWindow, ClosingIsRefusedWhileADispatcherIsOnShift)
{
    logIn();
    prompts.clear();
    EXPECT_FALSE(ws->form1.close());
    EXPECT_TRUE(ws->form1.isVisible());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].startsWith(QStringLiteral("Немає можливості закрити програму")));
}

TEST_F(WorkstationWindow, TheSettingsWindowDisablesTheMainWindowWhileShownAndItsClosingRefreshes)
{
    logIn();
    emit ws->form1.settingsRequested();
    EXPECT_TRUE(ws->form4.isVisible());
    EXPECT_FALSE(ws->form1.isEnabled());
    ws->dani.TABL_ZADIANI_AVTO.close(); // as an event would while the window is open
    ws->form4.close();
    EXPECT_TRUE(ws->form1.isEnabled());
    EXPECT_TRUE(ws->dani.TABL_ZADIANI_AVTO.isOpen());
}

TEST_F(WorkstationWindow, WorkOfAnotherWorkstationAppearsInTheGrids)
{
    logIn();
    DataSetTableModel* orders = ws->form1.model(TForm1::OpenOrders);
    DataSetTableModel* drivers = ws->form1.model(TForm1::Drivers);
    EXPECT_EQ(orders->rowCount(), 0);
    db->exec(QStringLiteral(
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_STATUS_ZAMOVL, "
        "ZAMOVL_DATA_PRIYOMA, "
        "ZAMOVL_CHAS_PRIYOMA) VALUES (GEN_ID(GENIDZAMOVL, 1), '[Лесі]{2}', 0, '08.12.2026', '11:50')"));
    ASSERT_TRUE(waitFor([&] { return orders->rowCount() == 1; }));
    EXPECT_EQ(orders->data(orders->index(0, 4), Qt::DisplayRole).toString(), QStringLiteral("[Лесі]{2}"));
    EXPECT_EQ(orders->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Початковий пункт"));
    db->exec(
        QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_VULICA, ZAD_AVTO_NOMER_ZAMOVL, "
                       "ZAD_AVTO_CHAS_ZAMOVL) VALUES (21, 'Вокзал', 0, '0001')"));
    ASSERT_TRUE(waitFor([&] { return drivers->rowCount() == 1; }));
    EXPECT_EQ(ws->form1.model(TForm1::Stands)
                  ->data(ws->form1.model(TForm1::Stands)->index(0, 0), Qt::DisplayRole)
                  .toString(),
              QStringLiteral("Вокзал  <[21]>"));
}

TEST_F(WorkstationWindow, HotKeysPutADriverOnAirFromAGridButNotFromAnEditBox)
{
    logIn();
    db->exec(QStringLiteral("DELETE FROM DANI_AVTO"));
    db->exec(QStringLiteral("DELETE FROM VODII"));
    db->exec(
        QStringLiteral("INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO) VALUES (3, 'Мар''ян Коваль')"));
    db->exec(QStringLiteral("INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_NOM_VODIY, TABL_AVTO_MODEL, "
                            "TABL_AVTO_KILPASAZHIR, "
                            "TABL_AVTO_VAGA) VALUES (55, 3, 'Ланос', 4, 300)"));
    ws->form1.show();
    QApplication::setActiveWindow(&ws->form1);

    // A one-line box keeps Ins for itself: nothing is asked.
    QLineEdit edit(&ws->form1);
    edit.show();
    edit.setFocus();
    prompts.clear();
    QKeyEvent insert(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
    ASSERT_EQ(QApplication::focusWidget(), &edit);
    QApplication::sendEvent(&ws->form1, &insert);
    EXPECT_TRUE(prompts.shown().isEmpty());

    // From the grid, Ins asks for a callsign and puts the driver on air.
    ws->form1.grid(TForm1::Drivers)->setFocus();
    edit.hide();
    prompts.answerInput(QStringLiteral("55"));
    QApplication::sendEvent(&ws->form1, &insert);
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown()[0].kind, ScriptedPrompts::Shown::Input);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = 55")),
              1);
    DataSetTableModel* drivers = ws->form1.model(TForm1::Drivers);
    EXPECT_TRUE(waitFor([&] { return drivers->rowCount() == 1; }));
}

TEST_F(WorkstationWindow, ATaskWindowDisablesTheMainWindowAndItsClosingRefreshesTheLists)
{
    logIn();
    ws->form10->show();
    EXPECT_FALSE(ws->form1.isEnabled());
    ws->dani.TABL_AKTIV_ZAMOVL.close(); // as an event would while the window is open
    ws->form10->close();
    EXPECT_TRUE(ws->form1.isEnabled());
    EXPECT_TRUE(ws->dani.TABL_AKTIV_ZAMOVL.isOpen());
}

TEST_F(WorkstationWindow, SettingsSwitchesActOnTheMainWindowAtOnce)
{
    logIn();
    ws->settings.setSwitch(SettingsStore::Switch::ActiveDriversTab, false);
    EXPECT_FALSE(ws->form1.pageState().driversGroupVisible);
    ws->dani.TABL_ZADIANI_AVTO.close();
    ws->settings.setSwitch(SettingsStore::Switch::ExtraDriversPanel, true);
    EXPECT_TRUE(ws->form1.pageState().extraDriversPanelVisible);
    EXPECT_TRUE(ws->dani.TABL_ZADIANI_AVTO.isOpen()); // the extra panel needs the drivers list
}
