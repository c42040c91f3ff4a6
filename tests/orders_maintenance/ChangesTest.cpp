#include "MaintenanceFixture.h"

#include "orders/maintenance/OpenOrderTexts.h"

namespace T = OpenOrderTexts;

class Changes : public MaintenanceFixture
{
protected:
    QVariant order(qint64 number, const char* column)
    {
        return value(QStringLiteral("SELECT %1 FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %2")
                         .arg(QLatin1String(column), QString::number(number)));
    }
    std::vector<QVariant> refresh(qint64 callsign)
    {
        return db
            ->exec(QStringLiteral("SELECT REFLESH_VODIY_ZAMOV, REFLESH_VODIY_DATETIME, REFLESH_VODIY_NZ FROM "
                                  "REFLESH_DANI_VODIY_GPRS WHERE REFLESH_VODIY_POZ = %1")
                       .arg(callsign))
            .rows.at(0);
    }
};

TEST_F(Changes, DeletingPutsTheReasonBeforeTheEarlierTextAndFreesTheDriverOnlyOnce)
{
    addDriver(7, QStringLiteral("Петро"));
    putOnAir(1, QStringLiteral("А"), QStringLiteral("[]{}"), QStringLiteral("0005"));
    const qint64 n = addAssignedOrder(7, QStringLiteral("Петро"));
    const OrderMaintenanceRequest shown = header(n);
    clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 5, 0)));
    ws->prompts.answerInput(QStringLiteral("клієнт відмовився"));
    ASSERT_TRUE(page(n).DeleteOpenOrder().done);
    EXPECT_EQ(order(n, "ZAMOVL_PRICHINA_DELETE").toString(),
              QStringLiteral("<Оля Диспетчер> клієнт відмовився    {швидке}   тел.:[0501234567]"));
    EXPECT_EQ(order(n, "ZAMOVL_STATUS_ZAMOVL").toInt(), -1);
    EXPECT_EQ(order(n, "ZAMOVL_CHAS_ZAKR_ZAMOVL").toTime(), QTime(9, 5));
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_CHAS_ZAMOVL"), QStringLiteral("0006"));
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_VULICA"), QStringLiteral("[Шевченка]{12}"));
    EXPECT_EQ(refresh(7), (std::vector<QVariant>{QStringLiteral("+"), QVariant(), qint64(0)}));

    // The window still shows the order; the driver got another one meanwhile.
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = %1 WHERE ZAD_AVTO_POZIVNIY = 7")
                 .arg(n));
    ws->prompts.answerInput(QStringLiteral("ще раз"));
    EXPECT_FALSE(OpenOrderMaintenance(*ctx, shown).DeleteOpenOrder().done);
    EXPECT_EQ(ws->prompts.messages(), QStringList{T::kDeletedMeanwhile});
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_NOMER_ZAMOVL"), QString::number(n));
}

TEST_F(Changes, ANewDriverTakesOverPlaceTimesAndKeyAndTheOldOneGoesToTheZeroStand)
{
    addDriver(7, QStringLiteral("Петро"));
    addDriver(8, QStringLiteral("Гриць"));
    putOnAir(8, QStringLiteral("Гриць"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(8, QStringLiteral("Гриць"), QStringLiteral("Ринок"), QStringLiteral("0004")); // at two stands
    putOnAir(1, QStringLiteral("А"), QStringLiteral("[]{}"), QStringLiteral("0002"));
    const qint64 n = addAssignedOrder(7, QStringLiteral("Петро"));
    OpenOrderMaintenance maintenance = page(n);
    EXPECT_EQ(maintenance.DriverChoices(),
              QStringList({QStringLiteral("[1] А"), QStringLiteral("[8] Гриць")}));

    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(maintenance.ChangeOpenOrderDriver(QStringLiteral("[8] Гриць")).done);
    EXPECT_EQ(order(n, "ZAMOVL_POZIVNIY").toInt(), 8);
    EXPECT_EQ(order(n, "ZAMOVL_FIO_TAXI").toString(), QStringLiteral("Гриць"));
    const FbRows next =
        db->exec(QStringLiteral("SELECT ZAD_AVTO_VULICA, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_CHAS_PRIBUTTIA, "
                                "ZAD_AVTO_NOMER_ZAMOVL FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = 8"));
    ASSERT_EQ(next.rowCount(), 1);
    EXPECT_EQ(next.rows[0], (std::vector<QVariant>{QStringLiteral("[Шевченка]{12}"),
                                                   QStringLiteral("11:30:00"), QTime(12, 20), n}));
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_VULICA"), QStringLiteral("[]{}"));
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_CHAS_ZAMOVL"), QStringLiteral("0003"));
    EXPECT_EQ(driverColumn(7, "ZAD_AVTO_NOMER_ZAMOVL"), QStringLiteral("0"));
    EXPECT_EQ(refresh(8), (std::vector<QVariant>{QStringLiteral("+"), clock.now(), n}));
    EXPECT_EQ(refresh(7), (std::vector<QVariant>{QStringLiteral("+"), QVariant(), qint64(0)}));
    // One row carries the order, so it can be closed afterwards.
    ws->prompts.answerQuestion(true);
    EXPECT_TRUE(page(n).CloseOrder().done) << ws->prompts.messages().join(u'\n').toStdString();
}

TEST_F(Changes, TheClientCodeIsAParsedNumberOfAKnownClient)
{
    addClient(77, 0, 0);
    const qint64 n = addOrder({.client = 42});
    for (const QString& typed : {QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("77) or (1=1"),
                                 QStringLiteral("123"), QStringLiteral(" 77 ")}) {
        ws->prompts.answerInput(typed);
        page(n).ChangeOpenOrderClient();
    }
    EXPECT_EQ(ws->prompts.messages(), QStringList({T::kWrongClientCode, T::kWrongClientCode,
                                                   T::kWrongClientCode, T::kClientNotFound}));
    EXPECT_EQ(order(n, "ZAMOVL_NOMER_KLIENT").toInt(), 77);
}
