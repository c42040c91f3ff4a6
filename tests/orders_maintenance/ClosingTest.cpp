#include "MaintenanceFixture.h"

#include "foundation/SettingKeys.h"
#include "orders/maintenance/OpenOrderTexts.h"

namespace T = OpenOrderTexts;

class Closing : public MaintenanceFixture
{
protected:
    qint64 client(qint64 code, const char* column)
    {
        return count(
            QStringLiteral("SELECT %1 FROM KLIENT WHERE KLIENT_DODATKOVO LIKE '[%2]%'")
                .arg(QLatin1String(column), QStringLiteral("%1").arg(code, 5, 10, QLatin1Char('0'))));
    }
};

TEST_F(Closing, CountersFollowTheRideKindAndTheEarningNumberAndTheDriverQueuesLast)
{
    struct Case
    {
        const char* what;
        QString every;
        qint64 code;
        QString free;
        int rides, freeRides, ridesAfter, freeRidesAfter;
    };
    for (const Case& c :
         {Case{"every 5th earns", "5", 42, "HI", 4, 0, 0, 1}, Case{"N 0", "0", 42, "HI", 4, 0, 5, 0},
          Case{"N empty", "", 42, "HI", 4, 0, 5, 0}, Case{"free ride", "5", 42, "TAK", 2, 3, 2, 2},
          Case{"client 0", "5", 0, "HI", 4, 0, 4, 0}}) {
        SCOPED_TRACE(c.what);
        SetUp();
        ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRidesPerFreeRide, c.every);
        addDriver(7, QStringLiteral("Петро"));
        addClient(c.code, c.rides, c.freeRides);
        addClient(c.code + 1000, 4, 0); // its text holds the digits of the code too
        putOnAir(1, QStringLiteral("А"), QStringLiteral("[Шевченка]{12}"), QStringLiteral("0003"));
        const qint64 order = addAssignedOrder(7, QStringLiteral("Петро"), {.client = c.code, .free = c.free});
        ws->prompts.answerQuestion(true);
        ASSERT_TRUE(page(order).CloseOrder().done) << ws->prompts.messages().join(u'\n').toStdString();
        EXPECT_EQ(client(c.code, "KLIENT_KIL_VIKLIK"), c.ridesAfter);
        EXPECT_EQ(client(c.code, "KLIENT_KIL_FREE_VIKLIK"), c.freeRidesAfter);
        EXPECT_EQ(client(c.code + 1000, "KLIENT_KIL_VIKLIK"), 4);
        EXPECT_EQ(count(QStringLiteral("SELECT TABL_AVTO_KILVIKLIK FROM DANI_AVTO")), 11);
        EXPECT_EQ(value(QStringLiteral("SELECT ZAMOVL_CHAS_ZAKR_ZAMOVL FROM ZAMOVLENNIA")).toTime(),
                  QTime(12, 0));
        EXPECT_EQ(driverColumn(7, "ZAD_AVTO_CHAS_ZAMOVL"), QStringLiteral("0004"));
        EXPECT_EQ(driverColumn(7, "ZAD_AVTO_VULICA"), QStringLiteral("[Шевченка]{12}"));
        EXPECT_EQ(driverColumn(7, "ZAD_AVTO_NOMER_ZAMOVL"), QStringLiteral("0"));
        TearDown();
    }
}

TEST_F(Closing, AGroupCloseQueuesEveryDriverAtTheDestinationAndMarksEveryFreeRide)
{
    const QString station = QStringLiteral("[Вокзальна]{1}");
    putOnAir(9, QStringLiteral("Чекає"), station, QStringLiteral("0002"));
    addClient(42, 0, 5);
    for (qint64 callsign : {1, 2}) {
        const QString name = QStringLiteral("Водій %1").arg(callsign);
        addDriver(callsign, name);
        // An earlier free ride, already archived: the source of the jubilee mark.
        db->exec(QStringLiteral("INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_DATA_PRIYOMA, CZ_CHAS_PRIYOMA, "
                                "CZ_POZIVNIY, CZ_FIO_TAXI, CZ_BEZKOSHTOVN, CZ_STATUS_ZAMOVL) VALUES (%1, "
                                "'02.03.2026', '09:15:00', %1, '%2', 'TAK', 1)")
                     .arg(QString::number(callsign), name));
        const qint64 order =
            addOrder({.client = 42, .callsign = callsign, .driver = name, .free = QStringLiteral("TAK")});
        putOnAir(callsign, name, station, QStringLiteral("11:00:00"), order);
    }
    const qint64 gprs = addOrder({.callsign = 3, .driver = QStringLiteral("GPRS")});
    putOnAir(3, QStringLiteral("GPRS"), station, QStringLiteral("1"), gprs, QStringLiteral("{GPRS}Шкода"));
    const qint64 later =
        addOrder({.callsign = 4, .driver = QStringLiteral("Ще"), .plannedEnd = clock.now().addSecs(60)});
    putOnAir(4, QStringLiteral("Ще"), station, QStringLiteral("1"), later);

    ws->prompts.answerQuestion(true);
    EXPECT_TRUE(page(gprs).CloseDueOrders().done);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_STATUS_ZAMOVL = 1")), 2);
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_CHAS_ZAMOVL IN ('0003', '0004') "
                  "AND ZAD_AVTO_POZIVNIY IN (1, 2) AND ZAD_AVTO_NOMER_ZAMOVL = 0")),
              2);
    EXPECT_EQ(client(42, "KLIENT_KIL_FREE_VIKLIK"), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_YUVILEYKA IS NOT NULL")),
              2);

    ws->prompts.answerQuestion(true);
    const MaintenanceOutcome again = page(gprs).CloseDueOrders();
    EXPECT_FALSE(again.done || again.closeWindow);
    EXPECT_EQ(ws->prompts.messages(), QStringList{T::kNothingToClose});
}

TEST_F(Closing, ABalancePaymentTakesACommaOrAPointAndRefusesWhatDoesNotRead)
{
    addDriver(7, QStringLiteral("Петро"));
    addClient(42, 0, 0);
    const qint64 unassigned = addOrder({.client = 42});
    for (const QString& typed :
         {QString(), QStringLiteral("abc"), QStringLiteral("12.50"), QStringLiteral("12,50")}) {
        db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO"));
        const qint64 order = addAssignedOrder(7, QStringLiteral("Петро"), {.client = 42});
        ws->prompts.answerQuestion(true);
        ws->prompts.answerInput(typed);
        EXPECT_EQ(page(order).CloseOrderWithBalance().done, typed.size() == 5) << typed.toStdString();
    }
    EXPECT_EQ(value(QStringLiteral("SELECT KLIENT_BALANS FROM KLIENT")).toDouble(), 75.0);
    EXPECT_EQ(value(QStringLiteral("SELECT TABL_VODIY_AVANS FROM VODII")).toDouble(), 25.0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_OPLATA_BALANSOM = 12.5")),
              2);
    // An order without a driver is refused before any statement would need its callsign.
    ws->prompts.answerQuestion(true);
    ws->prompts.answerInput(QStringLiteral("5"));
    EXPECT_FALSE(page(unassigned).CloseOrderWithBalance().done);
    EXPECT_EQ(ws->prompts.messages(), QStringList({T::kWrongAmount, T::kWrongAmount, T::kChangedOrNoClient}));
}
