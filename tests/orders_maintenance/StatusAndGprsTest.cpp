#include "MaintenanceFixture.h"

#include "orders/maintenance/OpenOrderTexts.h"

namespace T = OpenOrderTexts;

// The free/paid switch and the commands for drivers of the GPRS application.
class StatusAndGprs : public MaintenanceFixture
{
protected:
    QString freeFlag(qint64 order)
    {
        return value(QStringLiteral("SELECT ZAMOVL_BEZKOSHTOVN FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1")
                         .arg(order))
            .toString();
    }
    QString refreshMark(qint64 callsign)
    {
        return value(QStringLiteral(
                         "SELECT REFLESH_VODIY_ZAMOV FROM REFLESH_DANI_VODIY_GPRS WHERE REFLESH_VODIY_POZ = "
                         "%1")
                         .arg(callsign))
            .toString();
    }
};

TEST_F(StatusAndGprs, APaidRideTurnsFreeOnlyWhileTheClientHasAFreeRideAndNeverForAnUncodedClient)
{
    addDriver(7, QStringLiteral("Петро"));
    addClient(42, 0, 0);
    const qint64 n = addAssignedOrder(7, QStringLiteral("Петро"), {.client = 42});
    ws->prompts.answerQuestion(true);
    page(n).ToggleOpenOrderFree();
    EXPECT_EQ(ws->prompts.questions(), QStringList{T::kPaidToFreeQuestion});
    EXPECT_EQ(freeFlag(n), QStringLiteral("HI")); // no free ride earned yet
    EXPECT_EQ(refreshMark(7), QStringLiteral("-"));

    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_KIL_FREE_VIKLIK = 1"));
    ws->prompts.answerQuestion(true);
    page(n).ToggleOpenOrderFree();
    EXPECT_EQ(freeFlag(n), QStringLiteral("TAK"));
    EXPECT_EQ(refreshMark(7), QStringLiteral("+")); // the driver's phone reads the order again
    // The counters change when the ride is closed, not here.
    EXPECT_EQ(count(QStringLiteral("SELECT KLIENT_KIL_FREE_VIKLIK FROM KLIENT")), 1);
    ws->prompts.clear();
    ws->prompts.answerQuestion(true);
    page(n).ToggleOpenOrderFree();
    EXPECT_EQ(ws->prompts.questions(), QStringList{T::kFreeToPaidQuestion});
    EXPECT_EQ(freeFlag(n), QStringLiteral("HI"));

    const qint64 uncoded = addOrder({});
    ws->prompts.clear();
    page(uncoded).ToggleOpenOrderFree();
    EXPECT_EQ(ws->prompts.messages(), QStringList{T::kNoStatusWithoutClient});
    EXPECT_TRUE(ws->prompts.questions().isEmpty());
}

TEST_F(StatusAndGprs, AGprsDriversOrderClosesOnlyByForceAndTellsHisPhone)
{
    addDriver(7, QStringLiteral("Петро"));
    const qint64 n = addOrder({.callsign = 7, .driver = QStringLiteral("Петро")});
    putOnAir(7, QStringLiteral("Петро"), QStringLiteral("[Шевченка]{12}"), QStringLiteral("11:30:00"), n,
             QStringLiteral("{GPRS}Ланос"));
    ws->prompts.answerQuestion(true);
    EXPECT_FALSE(page(n).CloseOrder().done);
    EXPECT_EQ(ws->prompts.messages(), QStringList{T::kGprsDriver});
    EXPECT_EQ(
        count(QStringLiteral("SELECT ZAMOVL_STATUS_ZAMOVL FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1").arg(n)),
        0);

    ws->prompts.answerQuestion(true);
    EXPECT_TRUE(page(n).ForceCloseGprsOrder().done);
    EXPECT_TRUE(ws->prompts.questions().last().startsWith(QStringLiteral("УВАГА !!!!!!!!!!!!!!!!!\r")));
    EXPECT_EQ(
        count(QStringLiteral("SELECT ZAMOVL_STATUS_ZAMOVL FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1").arg(n)),
        1);
    EXPECT_EQ(refreshMark(7), QStringLiteral("+"));
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT REFLESH_VODIY_NZ FROM REFLESH_DANI_VODIY_GPRS WHERE REFLESH_VODIY_POZ = 7")),
              0);
    EXPECT_TRUE(
        value(QStringLiteral(
                  "SELECT REFLESH_VODIY_DATETIME FROM REFLESH_DANI_VODIY_GPRS WHERE REFLESH_VODIY_POZ = 7"))
            .isNull());
}

TEST_F(StatusAndGprs, ResettingTheGprsMarkersTakesTheFirstMarkOffEveryModel)
{
    putOnAir(7, QStringLiteral("Петро"), QStringLiteral("Вокзал"), QStringLiteral("0001"), 0,
             QStringLiteral("{GPRS}Ланос"));
    putOnAir(8, QStringLiteral("Гриць"), QStringLiteral("Вокзал"), QStringLiteral("0002"), 0,
             QStringLiteral("Ланос {GPRS}{GPRS}"));
    putOnAir(9, QStringLiteral("Іван"), QStringLiteral("Вокзал"), QStringLiteral("0003"), 0,
             QStringLiteral("Ланос"));
    ws->prompts.answerQuestion(false);
    OpenOrderMaintenance(*ctx, OrderMaintenanceRequest{}).ResetGprsMarkers();
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_MARKA_AVTO"), QStringLiteral("{GPRS}Ланос"));
    ws->prompts.answerQuestion(true);
    OpenOrderMaintenance(*ctx, OrderMaintenanceRequest{}).ResetGprsMarkers();
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_MARKA_AVTO"), QStringLiteral("Ланос"));
    EXPECT_EQ(driverColumn(8, "ZAD_AVTO_MARKA_AVTO"), QStringLiteral("Ланос {GPRS}"));
    EXPECT_EQ(driverColumn(9, "ZAD_AVTO_MARKA_AVTO"), QStringLiteral("Ланос"));
}
