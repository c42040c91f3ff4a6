#include "DispatchFixture.h"

#include "dispatch/DataModuleWiring.h"
#include "foundation/SqlLiteral.h"
#include "support/WaitFor.h"

// The nearest stand as the main window shows it, driven by the data module's own
// announcements: database events from another connection and moves of the open orders.
class NearestStandDisplayTest : public DispatchFixture
{
protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        ws->useMap(2.0);
        point(1, QStringLiteral("Вокзал"), 100, 100);
        point(2, QStringLiteral("Ринок"), 400, 100);
        point(3, QStringLiteral("[Шевченка]{1}"), 120, 100);
        wiring = std::make_unique<DataModuleWiring>(*ctx);
    }
    void TearDown() override
    {
        wiring.reset();
        DispatchFixture::TearDown();
    }
    void point(int n, const QString& label, int x, int y)
    {
        db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                                "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y) VALUES (%1, %2, %3, %4)")
                     .arg(sql::integer(n), sql::text(label), sql::integer(x), sql::integer(y)));
    }
    void openLists()
    {
        settle(200); // the alerts of the fixture's own inserts have been handled
        for (FbDataSet* list : {&ws->dani->TABL_AKTIV_ZAMOVL, &ws->dani->TABL_ZADIANI_AVTO})
            list->close();
        (*ws->reopener)();
    }
    RecordingView& view() { return ws->view; }
    std::unique_ptr<DataModuleWiring> wiring;
};

TEST_F(NearestStandDisplayTest, ShowsTheHeadOfTheQueueAndFollowsItWhenOnlyTheHeadChanges)
{
    putOnAir(5, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0002"));
    putOnAir(40, QStringLiteral("Б"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(7, QStringLiteral("В"), QStringLiteral("Ринок"), QStringLiteral("0001"));
    addOrder(QStringLiteral("[Шевченка]{1} кв. 2"));
    openLists();
    EXPECT_EQ(ws->dani->NearestStand, QStringLiteral("Вокзал"));
    EXPECT_EQ(view().nearestStand, QStringLiteral("Вокзал"));
    EXPECT_EQ(view().firstDriver, QStringLiteral("40")); // the queue's head, not the smallest callsign

    // The head leaves: the stand stays the same, the shown first driver follows.
    db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = 40"));
    ASSERT_TRUE(waitFor([&] { return view().firstDriver == QLatin1String("5"); }));
    // The stand empties: the next nearest one is shown.
    db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO WHERE ZAD_AVTO_VULICA = 'Вокзал'"));
    ASSERT_TRUE(waitFor([&] { return view().nearestStand == QStringLiteral("Ринок"); }));
    EXPECT_EQ(view().firstDriver, QStringLiteral("7"));
    db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO"));
    ASSERT_TRUE(waitFor([&] { return view().firstDriver == TDANI::kNotSet; }));
    EXPECT_EQ(view().nearestStand, TDANI::kNotSet);
    EXPECT_TRUE(ws->dani->NearestStand.isEmpty());
}

TEST_F(NearestStandDisplayTest, AnAssignedOrderShowsNoStandAndTheStandFollowsTheCurrentRow)
{
    putOnAir(5, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    addOrder(QStringLiteral("[Шевченка]{1}"), {}, clock.now().addSecs(-900), 0, 12); // assigned
    addOrder(QStringLiteral("[Шевченка]{1}"), {}, clock.now().addSecs(-600));
    openLists();
    ASSERT_EQ(ws->dani->TABL_AKTIV_ZAMOVL.recNo(), 1);
    EXPECT_EQ(view().nearestStand, TDANI::kNotSet);
    EXPECT_TRUE(ws->dani->NearestStand.isEmpty());

    ws->dani->TABL_AKTIV_ZAMOVL.moveTo(2);
    EXPECT_EQ(view().nearestStand, QStringLiteral("Вокзал"));
    EXPECT_EQ(ws->dani->NearestStand, QStringLiteral("Вокзал"));

    // Off the pages that show the stand, a move leaves it alone.
    view().page = DataModuleView::OrdersPage::Hot;
    const int shows = view().nearestStandShows;
    ws->dani->TABL_AKTIV_ZAMOVL.moveTo(1);
    EXPECT_EQ(view().nearestStandShows, shows);
}

TEST_F(NearestStandDisplayTest, OnTheHotPageTheChosenOrderDecidesAndOrderEventsRebuildTheHotList)
{
    putOnAir(5, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    openLists();
    view().page = DataModuleView::OrdersPage::Hot;
    view().hotSelection = HotOrdersView::HotSelection{1, QStringLiteral("[Шевченка]{1}")};
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_CHAS_ZAMOVL = '0002'"));
    ASSERT_TRUE(waitFor([&] { return view().hotStand == QStringLiteral("Вокзал"); }));
    EXPECT_EQ(view().hotDriver, QStringLiteral("5"));

    addOrder(QStringLiteral("[Шевченка]{1}"));
    ASSERT_TRUE(waitFor([&] { return view().hotLines.size() == 1; }));
    EXPECT_GE(view().orderCounters[0], 0); // the counters were refreshed too

    // Nothing chosen: no stand.
    view().hotSelection.reset();
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_CHAS_ZAMOVL = '0003'"));
    ASSERT_TRUE(waitFor([&] { return view().hotStand == TDANI::kNotSet; }));
}

TEST_F(NearestStandDisplayTest, OffTheHotPageOrderEventsLeaveTheHotListAlone)
{
    addOrder(QStringLiteral("[Шевченка]{1}"));
    ASSERT_TRUE(waitFor([&] { return view().orderCounters[0] >= 0; }));
    EXPECT_TRUE(view().hotLines.isEmpty());
}

TEST_F(NearestStandDisplayTest, AFailedReadWhileTheListMovesIsShownAndNothingThrows)
{
    addOrder(QStringLiteral("[Шевченка]{1}"));
    addOrder(QStringLiteral("[Шевченка]{1}"));
    openLists();
    ws->dani->IBEvents1.cancel();
    ws->dani->BAZA.disconnect();
    EXPECT_NO_THROW(ws->dani->TABL_AKTIV_ZAMOVL.moveTo(2));
    EXPECT_EQ(ws->dani->TABL_AKTIV_ZAMOVL.recNo(), 2);
    EXPECT_EQ(ws->prompts.messages().size(), 1);
}
