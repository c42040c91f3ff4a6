#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "platform/ScriptedPrompts.h"
#include "support/DatabaseSuite.h"
#include "support/ListReopener.h"
#include "support/RecordingView.h"
#include "support/TestDatabase.h"
#include "support/WaitFor.h"

#include <QMap>
#include <gtest/gtest.h>

class DataModule : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        for (const char* table : {"ZAMOVLENNIA", "CLOSEZAMOVLENNIA", "ZADIANI_AVTO", "MSG_FOR_DISP",
                                  "KARTA_MISTA", "DYA_VODIY_GPRS", "KLIENT", "VODII", "DANI_AVTO"})
            db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        const ConnectionParameters p = db->params();
        store.setValue(SettingsStore::kServerGroup, SettingsStore::kPathBaza, db->folder());
        store.setValue(SettingsStore::kServerGroup, SettingsStore::kNameBaza, QStringLiteral("TEST.FDB"));
        store.setValue(SettingsStore::kServerGroup, SettingsStore::kLogin, p.user);
        store.setValue(SettingsStore::kServerGroup, SettingsStore::kPass, p.password);
        dani = std::make_unique<TDANI>(store, prompts);
        dani->setView(&view);
        dani->setHotOrdersView(&view);
        dani->setDriversGroupView(&view);
        dani->setMessagesView(&view);
        reopener = std::make_unique<ListReopener>(ListReopener{*dani, {}});
        QObject::connect(dani.get(), &TDANI::listsClosed, dani.get(), [this] { (*reopener)(); });
        QObject::connect(dani.get(), &TDANI::openOrdersChanged, dani.get(), [this] { ++orderChanges; });
        ASSERT_TRUE(dani->ConnectDatabase());
        ASSERT_TRUE(
            waitFor([this] { return dani->IBEvents1.ready(); })); // its first call only tells the counts
    }

    void TearDown() override
    {
        dani.reset();
        settle(50);
    }

    void insertOpenOrders(int count)
    {
        for (int i = 0; i < count; ++i)
            db->exec(QStringLiteral(
                         "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_STATUS_ZAMOVL, "
                         "ZAMOVL_POZIVNIY, ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA) VALUES "
                         "(GEN_ID(GENIDZAMOVL, 1), '[Шевченка]{%1}', 0, 0, CURRENT_DATE, '08:%2')")
                         .arg(QString::number(i + 1), QString::number(10 + i)));
    }

    // Waits until the lists the alert closed were opened again.
    bool waitForReopen(const QString& list, int times)
    {
        return waitFor([&] { return reopener->opened.value(list) >= times; });
    }

    SettingsStore store;
    ScriptedPrompts prompts;
    RecordingView view;
    std::unique_ptr<TDANI> dani;
    std::unique_ptr<ListReopener> reopener;
    int orderChanges = 0;
};

TEST_F(DataModule, ConnectingSetsTheCaptionAndTheInitialListState)
{
    EXPECT_EQ(view.caption, QStringLiteral("Диспетчер \"ZORvane-TAXI\"  [TEST.FDB]"));
    EXPECT_EQ(dani->TABL_VIKON_ZAMOVL.sortText, QStringLiteral("CZ_NUMBER"));
    EXPECT_EQ(dani->TABL_DELETE_ZAMOVL.sortText, QStringLiteral("CZ_NUMBER"));
    EXPECT_EQ(dani->TABL_AKTIV_ZAMOVL.sortText, QStringLiteral("ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA"));
    EXPECT_EQ(dani->TABL_DIY_VODY_GPRS.sortText, QStringLiteral("ORDER BY DYA_VODIY_GPRS_NP DESC"));
    EXPECT_EQ(dani->TABL_ZADIANI_AVTO.sortText, QStringLiteral("ORDER BY ZAD_AVTO_POZIVNIY"));
    EXPECT_EQ(dani->clientsFilter, QStringLiteral("WHERE (KLIENT_DODATKOVO LIKE '%' || '[00000]' || '%')"));
    EXPECT_EQ(dani->clientsSort, QStringLiteral("ORDER BY KLIENT_DODATKOVO"));
    EXPECT_EQ(dani->TABL_AKTIV_ZAMOVL.rememberedRow, 0);
    EXPECT_EQ(dani->TABL_ZADIANI_AVTO.filterText, QString());
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(DataModule, AnOrderEventClosesExactlyTheOrderListAndReopensItAtTheSameRowTwice)
{
    insertOpenOrders(5);
    settle(200);
    (*reopener)();
    dani->TABL_AKTIV_ZAMOVL.moveTo(3);
    reopener->opened.clear();
    orderChanges = 0;

    for (int round = 1; round <= 2; ++round) {
        db->exec(
            QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_PRICHINA_DELETE = 'x%1' WHERE ZAMOVL_NUMBER > 0")
                .arg(round));
        ASSERT_TRUE(waitForReopen(QStringLiteral("TABL_AKTIV_ZAMOVL"), round));
        EXPECT_EQ(dani->TABL_AKTIV_ZAMOVL.recNo(), 3);
    }
    EXPECT_EQ(reopener->opened.keys(), QStringList{QStringLiteral("TABL_AKTIV_ZAMOVL")});
    EXPECT_GE(orderChanges, 1);
}

TEST_F(DataModule, DriverAndArchiveEventsCloseTheirOwnLists)
{
    (*reopener)();
    reopener->opened.clear();
    db->exec(QStringLiteral(
        "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_VULICA, ZAD_AVTO_NOMER_ZAMOVL, "
        "ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_MARKA_AVTO) VALUES (12, 'Вокзал', 0, '0001', '{GPRS}Ланос')"));
    ASSERT_TRUE(waitForReopen(QStringLiteral("TABLE_ZADIANI_AVTO_GROUP"), 1));
    EXPECT_EQ(reopener->opened.value(QStringLiteral("TABL_ZADIANI_AVTO")), 1);
    EXPECT_EQ(reopener->opened.value(QStringLiteral("TABL_AKTIV_ZAMOVL")), 0);
    // The stand page's counters were refreshed before the drivers list opened.
    EXPECT_EQ(view.counters[0], 1);
    EXPECT_EQ(view.counters[1], 1);
    EXPECT_EQ(view.counters[2], 1);
    EXPECT_EQ(view.counters[3], 1);

    reopener->opened.clear();
    db->exec(QStringLiteral(
        "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_NOMER_KLIENT, CZ_POZIVNIY, "
        "CZ_PRICHINA_DELETE) VALUES (1, 1, 0, 0, 'готово')"));
    ASSERT_TRUE(waitForReopen(QStringLiteral("TABL_DELETE_ZAMOVL"), 1));
    EXPECT_EQ(reopener->opened.value(QStringLiteral("TABL_VIKON_ZAMOVL")), 1);
    EXPECT_EQ(reopener->opened.value(QStringLiteral("TABL_ZADIANI_AVTO")), 0);
    EXPECT_EQ(view.executedCount, 1);
    EXPECT_EQ(view.closed[0].reason, QStringLiteral("готово"));
    EXPECT_EQ(view.closed[0].clientName, TDANI::kNotSet);
    EXPECT_EQ(view.closed[0].car, TDANI::kNotSet);
}

TEST_F(DataModule, ClosedOrderDetailsShowTheClientDriverAndCar)
{
    db->exec(QStringLiteral(
        "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_ADRESS, KLIENT_TELEFON, KLIENT_DODATKOVO) "
        "VALUES (1, 'Мар''яна', '[Лесі]{2}', '0501112233', '[00042]')"));
    db->exec(QStringLiteral(
        "INSERT INTO VODII (TABL_VODIY_NOMER, TABL_VODIY_FIO, TABL_VODIY_ADRESSA, TABL_VODIY_TELEFON) "
        "VALUES (1, 'О''Ніл Петро', 'Луцьк', '067')"));
    db->exec(QStringLiteral(
        "INSERT INTO DANI_AVTO (TABL_AVTO_POZIVN, TABL_AVTO_NOMERAVTO, TABL_AVTO_MODEL, TABL_AVTO_KOLIR, "
        "TABL_AVTO_KILPASAZHIR, TABL_AVTO_VAGA) VALUES (7, 'АС 1234 ВК', 'Ланос', 'білий', 4, 300)"));
    db->exec(QStringLiteral(
        "INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_STATUS_ZAMOVL, CZ_NOMER_KLIENT, CZ_POZIVNIY, "
        "CZ_FIO_TAXI) VALUES (5, -1, 42, 7, 'О''Ніл Петро')"));
    settle(200);
    (*reopener)();
    const auto& d = view.closed[1];
    EXPECT_EQ(d.clientName, QStringLiteral("Мар'яна"));
    EXPECT_EQ(d.clientPhone, QStringLiteral("0501112233"));
    EXPECT_EQ(d.driverName, QStringLiteral("О'Ніл Петро"));
    EXPECT_EQ(d.driverAddress, QStringLiteral("Луцьк"));
    EXPECT_EQ(d.car, QStringLiteral("позивний [7] номер авто [АС 1234 ВК] модель [Ланос] колір [білий] "
                                    "пасажиромісткість [4] вантажопідйомність [300]"));
}

TEST_F(DataModule, AMessageOpensTheMessagesFormAndCoalescedMessagesAreAllShown)
{
    db->exec(QStringLiteral(
        "INSERT INTO MSG_FOR_DISP (MSG_FOR_DISP_NP, MSG_FOR_DISP_DATA, MSG_FOR_DISP_FIO, MSG_FOR_DISP_TEXT) "
        "VALUES (1, '08.12.2026 10:00:00', 'Оля', 'Перша')"));
    ASSERT_TRUE(waitFor([&] { return view.messagesFormOpened == 1; }));
    EXPECT_EQ(view.messageLines.mid(0, 6),
              QStringList({QString(38, QLatin1Char('*')), QStringLiteral("[Оля]"),
                           QStringLiteral("08.12.2026 10:00:00"), QStringLiteral("\r"),
                           QStringLiteral("Перша"), QStringLiteral("\n\r\n\r")}));

    // Two messages in one transaction reach us as one alert: both are shown, newest on top.
    FbTransaction t(db->other(), QStringLiteral("T"));
    FbQuery q(t);
    q.exec(QStringLiteral("INSERT INTO MSG_FOR_DISP (MSG_FOR_DISP_NP, MSG_FOR_DISP_FIO, MSG_FOR_DISP_TEXT) "
                          "VALUES (2, 'Іра', 'Друга')"));
    q.exec(QStringLiteral("INSERT INTO MSG_FOR_DISP (MSG_FOR_DISP_NP, MSG_FOR_DISP_FIO, MSG_FOR_DISP_TEXT) "
                          "VALUES (3, 'Іра', 'Третя')"));
    t.commit();
    ASSERT_TRUE(waitFor([&] { return view.messageLines.size() == 18; }));
    EXPECT_EQ(view.messageLines[4], QStringLiteral("Третя"));
    EXPECT_EQ(view.messageLines[10], QStringLiteral("Друга"));
    EXPECT_EQ(view.messageLines[16], QStringLiteral("Перша"));
    EXPECT_EQ(view.messagesFormOpened, 1); // already showing: only the text grows
}

TEST_F(DataModule, AFailedReactionSkipsTheRestOfTheAlertAndTheProgramGoesOn)
{
    int closedSignals = 0;
    QObject::connect(dani.get(), &TDANI::listsClosed, dani.get(), [&] { ++closedSignals; });
    dani->IBEvents1.cancel();
    dani->BAZA.disconnect(); // the messages are read first: that read fails
    dani->OnEventAlert({QStringLiteral("EV_InsertMSG_FOR_DISP"), QStringLiteral("EV_InsertZAMOVLENNIA")});
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(closedSignals, 0); // the order reaction after the failed step did not run
    EXPECT_EQ(orderChanges, 0);
    ASSERT_TRUE(dani->ConnectDatabase());
    dani->OnEventAlert({QStringLiteral("EV_InsertZAMOVLENNIA")});
    EXPECT_EQ(closedSignals, 1);
    EXPECT_EQ(orderChanges, 1);
}

TEST_F(DataModule, ANewHouseOnTheMapIsAnnounced)
{
    int announced = 0;
    QObject::connect(dani.get(), &TDANI::mapPointsAdded, dani.get(), [&] { ++announced; });
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                            "KOORD_KART_MISTA_X) VALUES (6, '[Лесі]{2}', 100)"));
    ASSERT_TRUE(waitFor([&] { return announced == 1; }));
}
