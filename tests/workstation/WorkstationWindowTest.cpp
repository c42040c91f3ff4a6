#include "app/ui/Workstation.h"
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

// The whole workstation offscreen, on a database of its own.
class WorkstationWindow : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        BaseFolder::overrideForTests(folder.path());
        QFile ini(folder.filePath(QStringLiteral("SETSERVER.INI")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[SHLYAH_BAZA]\r\nSERVER=\r\nPATH_BAZA=%1\r\nNAME_BAZA=TEST.FDB\r\n[SET_"
                                 "SERV]\r\nLOGIN=SYSDBA\r\n"
                                 "PASS=masterkey\r\n")
                      .arg(db->folder())
                      .toLatin1());
        ini.close();
        for (const char* table : {"PRACIVNIK", "ZAMOVLENNIA", "ZADIANI_AVTO"})
            db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        db->exec(QStringLiteral(
            "INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO, TABLE_PRACIV_PASSWORD, "
            "TABLE_PRACIV_DOST_ROZD, TABLE_PRACIV_DOST_ZAMOVL) VALUES (1, 'Оля', '1', 1, 0)"));
        db->exec(QStringLiteral("INSERT INTO DANI_FIRMI (FIRMA_ZA_CHAS_POPERED_ZAMOV, "
                                "FIRMA_CHAS_DLIA_PEREZM_AVTO) VALUES (30, '800')"));
        ws = std::make_unique<Workstation>(clock, &prompts);
        ws->start();
        ASSERT_TRUE(
            waitFor([this] { return ws->dani.IBEvents1.ready(); })); // events are reported from now on
    }
    void TearDown() override
    {
        ws->form1.closeGuard = [] { return true; };
        ws.reset();
        db->exec(QStringLiteral("DELETE FROM DANI_FIRMI"));
        BaseFolder::overrideForTests({});
    }
    void logIn() { emit ws->form3.logInRequested(QStringLiteral("Оля"), QStringLiteral("1")); }

    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(12, 0))};
    ScriptedPrompts prompts;
    std::unique_ptr<Workstation> ws;
};

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

TEST_F(WorkstationWindow, TheSettingsWindowDisablesTheMainWindowWhileShown)
{
    logIn();
    emit ws->form1.settingsRequested();
    EXPECT_TRUE(ws->form4.isVisible());
    EXPECT_FALSE(ws->form1.isEnabled());
    ws->form4.close();
    EXPECT_TRUE(ws->form1.isEnabled());
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
