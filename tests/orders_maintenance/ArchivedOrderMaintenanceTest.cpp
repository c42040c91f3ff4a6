#include "MaintenanceFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "orders/maintenance/ArchivedOrderMaintenance.h"
#include "orders/maintenance/ArchivedOrderTexts.h"
#include "orders/maintenance/OpenOrderTexts.h"

#include <functional>

namespace A = ArchivedOrderTexts;
namespace O = OpenOrderTexts;

namespace {

struct ArchivedRow
{
    qint64 client = 42;
    qint64 callsign = 7;
    QString driver = QStringLiteral("Петро");
    QString free = QStringLiteral("HI");
    QString paid = QStringLiteral("0");
};

} // namespace

class Archive : public MaintenanceFixture
{
protected:
    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        addDriver(7, QStringLiteral("Петро"));
        addDriver(8, QStringLiteral("Гриць"));
    }
    qint64 archive(const ArchivedRow& row)
    {
        const qint64 n = db->scalar(QStringLiteral("SELECT GEN_ID(GENIDZAMOVL, 1) FROM RDB$DATABASE"));
        db->exec(
            QStringLiteral("INSERT INTO CLOSEZAMOVLENNIA (CZ_NUMBER, CZ_NOMER_KLIENT, CZ_PRICHINA_DELETE, "
                           "CZ_DATA_PRIYOMA, CZ_CHAS_PRIYOMA, CZ_POZIVNIY, CZ_FIO_TAXI, CZ_BEZKOSHTOVN, "
                           "CZ_OPLATA_BALANSOM, CZ_STATUS_ZAMOVL) VALUES (%1, %2, '{швидке}', '02.03.2026', "
                           "'09:00:00', %3, %4, %5, %6, 1)")
                .arg(sql::integer(n), sql::integer(row.client), sql::integer(row.callsign),
                     sql::text(row.driver), sql::text(row.free), row.paid));
        return n;
    }
    ArchivedOrderMaintenance archived(qint64 n)
    {
        const auto r = db->exec(QStringLiteral("SELECT CZ_NOMER_KLIENT, CZ_POZIVNIY, CZ_BEZKOSHTOVN FROM "
                                               "CLOSEZAMOVLENNIA WHERE CZ_NUMBER = %1")
                                    .arg(n))
                           .rows.at(0);
        OrderMaintenanceRequest h;
        h.number = n;
        h.clientCode = r[0].toLongLong();
        h.callsign = r[1].toLongLong();
        h.freeRide = r[2].toString();
        h.page = QStringLiteral("CLOSE_ZAM");
        return ArchivedOrderMaintenance(*ctx, h);
    }
    std::pair<qint64, qint64> counters(qint64 code)
    {
        const auto r =
            db->exec(QStringLiteral("SELECT KLIENT_KIL_VIKLIK, KLIENT_KIL_FREE_VIKLIK FROM KLIENT WHERE "
                                    "KLIENT_DODATKOVO LIKE '[%1]%'")
                         .arg(code, 5, 10, QLatin1Char('0')))
                .rows.at(0);
        return {r[0].toLongLong(), r[1].toLongLong()};
    }
    double balance(qint64 code)
    {
        return value(QStringLiteral("SELECT KLIENT_BALANS FROM KLIENT WHERE KLIENT_DODATKOVO LIKE '[%1]%'")
                         .arg(code, 5, 10, QLatin1Char('0')))
            .toDouble();
    }
    double account(const char* name)
    {
        return value(QStringLiteral("SELECT TABL_VODIY_AVANS FROM VODII WHERE TABL_VODIY_FIO = '%1'")
                         .arg(QString::fromUtf8(name)))
            .toDouble();
    }
    QVariant column(qint64 n, const char* name)
    {
        return value(QStringLiteral("SELECT %1 FROM CLOSEZAMOVLENNIA WHERE CZ_NUMBER = %2")
                         .arg(QLatin1String(name), QString::number(n)));
    }
    void setEvery(const QString& every)
    {
        ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRidesPerFreeRide, every);
    }
    QStringList watchedTables() const override
    {
        return {QStringLiteral("CLOSEZAMOVLENNIA"), QStringLiteral("KLIENT"), QStringLiteral("VODII")};
    }
};

TEST_F(Archive, DeletingUndoesTheRideFromTheOldCountersAndRefundsOnlyOnce)
{
    struct Case
    {
        const char* what;
        QString every, free;
        int rides, freeRides, ridesAfter, freeRidesAfter;
    };
    for (const Case& c :
         {Case{"a counted ride", "5", "HI", 1, 2, 0, 2}, Case{"a completed cycle", "5", "HI", 0, 2, 4, 1},
          Case{"N 0", "0", "HI", 0, 2, 0, 2}, Case{"N empty", "", "HI", 3, 2, 2, 2},
          Case{"a free ride comes back", "5", "TAK", 0, 2, 0, 3}}) {
        SCOPED_TRACE(c.what);
        SetUp();
        setEvery(c.every);
        addClient(42, c.rides, c.freeRides);
        addClient(1042, 3, 3); // its text holds the digits of the code too
        const qint64 n = archive({.free = c.free, .paid = QStringLiteral("12.5")});
        const ArchivedOrderMaintenance shown = archived(n);
        clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 5, 0)));
        ws->prompts.answerInput(QStringLiteral("помилка"));
        ASSERT_TRUE(ArchivedOrderMaintenance(shown).DeleteArchivedOrder().done);
        EXPECT_EQ(counters(42), std::make_pair(qint64(c.ridesAfter), qint64(c.freeRidesAfter)));
        EXPECT_EQ(counters(1042), std::make_pair(qint64(3), qint64(3)));
        EXPECT_EQ(balance(42), 112.5);
        EXPECT_EQ(account("Петро"), -12.5);
        EXPECT_EQ(column(n, "CZ_PRICHINA_DELETE").toString(),
                  QStringLiteral("<Оля Диспетчер> помилка   {швидке}"));
        EXPECT_EQ(column(n, "CZ_CHAS_ZAKR_ZAMOVL").toTime(), QTime(9, 5));

        // The window still shows the order: a second deletion gives nothing back.
        ws->prompts.answerInput(QStringLiteral("ще раз"));
        EXPECT_FALSE(ArchivedOrderMaintenance(shown).DeleteArchivedOrder().done);
        EXPECT_EQ(ws->prompts.messages(), QStringList{O::kDeletedMeanwhile});
        EXPECT_EQ(balance(42), 112.5);
        EXPECT_EQ(counters(42), std::make_pair(qint64(c.ridesAfter), qint64(c.freeRidesAfter)));
        TearDown();
    }
}

TEST_F(Archive, AnotherClientTakesOverTheRideAndThePayment)
{
    addClient(42, 0, 1);
    addClient(7, 4, 0);
    const qint64 n = archive({.paid = QStringLiteral("20")});
    for (const QString& typed : {QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("123")}) {
        ws->prompts.answerInput(typed);
        EXPECT_FALSE(archived(n).ChangeArchivedOrderClient().done);
    }
    EXPECT_EQ(ws->prompts.messages(), QStringList({A::kWrongClientCode, A::kWrongClientCode,
                                                   QStringLiteral("Клієнт з кодом [00123] не найдений")}));

    ws->prompts.answerInput(QStringLiteral("7"));
    ASSERT_TRUE(archived(n).ChangeArchivedOrderClient().done);
    EXPECT_EQ(column(n, "CZ_NOMER_KLIENT").toInt(), 7);
    EXPECT_EQ(counters(42), std::make_pair(qint64(4), qint64(0))); // the earned free ride taken back
    EXPECT_EQ(counters(7), std::make_pair(qint64(0), qint64(1)));  // the fifth ride earns one
    EXPECT_EQ(balance(42), 120.0);
    EXPECT_EQ(balance(7), 80.0);

    // A free order keeps its client.
    const qint64 free = archive({.free = QStringLiteral("TAK")});
    ws->prompts.clear();
    const MaintenanceOutcome refused = archived(free).ChangeArchivedOrderClient();
    EXPECT_FALSE(refused.done || refused.closeWindow);
    EXPECT_EQ(ws->prompts.messages(), QStringList{O::kClientOnlyPaid});
}

TEST_F(Archive, AnotherDriverTakesOverThePaymentFromTheFirstOnesAccount)
{
    const qint64 n = archive({.paid = QStringLiteral("12.5")});
    ArchivedOrderMaintenance page = archived(n);
    EXPECT_EQ(page.DriverChoices(), QStringList{QStringLiteral("[8] Гриць")});

    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(page.ChangeArchivedOrderDriver(QStringLiteral("[8] Гриць")).done);
    EXPECT_EQ(column(n, "CZ_POZIVNIY").toInt(), 8);
    EXPECT_EQ(column(n, "CZ_FIO_TAXI").toString(), QStringLiteral("Гриць"));
    EXPECT_EQ(account("Петро"), -12.5);
    EXPECT_EQ(account("Гриць"), 12.5);
    // The window still shows driver 7.
    ws->prompts.answerQuestion(true);
    EXPECT_FALSE(page.ChangeArchivedOrderDriver(QStringLiteral("[8] Гриць")).done);
    EXPECT_EQ(account("Гриць"), 12.5);
}

TEST_F(Archive, ThePaymentIsRecordedOnceOnAPaidOrderAndReadsACommaOrAPoint)
{
    addClient(42, 0, 0);
    const qint64 n = archive({});
    for (const QString& typed :
         {QString(), QStringLiteral("abc"), QStringLiteral("-3"), QStringLiteral("12.50")}) {
        ws->prompts.answerInput(typed);
        EXPECT_EQ(archived(n).SetArchivedOrderPayment().done, typed == QStringLiteral("12.50"));
    }
    ws->prompts.answerInput(QStringLiteral("12,50")); // already recorded: nothing happens
    EXPECT_FALSE(archived(n).SetArchivedOrderPayment().done);
    const qint64 other = archive({});
    ws->prompts.answerInput(QStringLiteral("12,50"));
    EXPECT_TRUE(archived(other).SetArchivedOrderPayment().done);

    // A free ride costs the client nothing: no money moves for it.
    const qint64 free = archive({.free = QStringLiteral("TAK")});
    ws->prompts.answerInput(QStringLiteral("10"));
    EXPECT_FALSE(archived(free).SetArchivedOrderPayment().done);

    EXPECT_EQ(ws->prompts.messages(), QStringList({A::kWrongAmount, A::kWrongAmount}));
    EXPECT_EQ(balance(42), 75.0);
    EXPECT_EQ(account("Петро"), 25.0);
    EXPECT_EQ(column(n, "CZ_OPLATA_BALANSOM").toDouble(), 12.5);
    EXPECT_EQ(column(free, "CZ_OPLATA_BALANSOM").toDouble(), 0.0);
}

TEST_F(Archive, TheStatusMovesTheFreeRideBothWays)
{
    addClient(42, 0, 1);
    const qint64 n = archive({});
    // The last paid ride earned the only free ride: it cannot pay for itself.
    ws->prompts.answerQuestion(true);
    EXPECT_FALSE(archived(n).ToggleArchivedOrderFree().done);
    EXPECT_EQ(ws->prompts.messages(), QStringList{A::kFirstFreeRide});

    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_KIL_VIKLIK = 2, KLIENT_KIL_FREE_VIKLIK = 1"));
    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(archived(n).ToggleArchivedOrderFree().done);
    EXPECT_EQ(column(n, "CZ_BEZKOSHTOVN").toString(), QStringLiteral("TAK"));
    EXPECT_EQ(counters(42), std::make_pair(qint64(1), qint64(0)));

    ws->prompts.answerQuestion(true);
    ASSERT_TRUE(archived(n).ToggleArchivedOrderFree().done);
    EXPECT_EQ(column(n, "CZ_BEZKOSHTOVN").toString(), QStringLiteral("HI"));
    EXPECT_EQ(counters(42), std::make_pair(qint64(2), qint64(1)));
    EXPECT_EQ(ws->prompts.questions().last(), O::kFreeToPaidQuestion);
}

TEST_F(Archive, ARefusedWriteInTheMiddleOfACorrectionLeavesNoTrace)
{
    addClient(42, 4, 1);
    addClient(7, 4, 0);
    const qint64 n = archive({.paid = QStringLiteral("20")});
    const qint64 unpaid = archive({});
    const QString balanceWrite = QStringLiteral("NEW.KLIENT_BALANS <> OLD.KLIENT_BALANS");
    expectNoTrace(QStringLiteral("KLIENT"), balanceWrite + QStringLiteral(" AND NEW.KLIENT_BALANS < 100"),
                  [&] {
                      ws->prompts.answerInput(QStringLiteral("7"));
                      return archived(n).ChangeArchivedOrderClient().done;
                  });
    expectNoTrace(QStringLiteral("VODII"), QStringLiteral("NEW.TABL_VODIY_AVANS > 0"), [&] {
        ws->prompts.answerQuestion(true);
        return archived(n).ChangeArchivedOrderDriver(QStringLiteral("[8] Гриць")).done;
    });
    expectNoTrace(QStringLiteral("KLIENT"), balanceWrite, [&] {
        ws->prompts.answerInput(QStringLiteral("5"));
        return archived(unpaid).SetArchivedOrderPayment().done;
    });
    expectNoTrace(QStringLiteral("KLIENT"), QStringLiteral("NEW.KLIENT_KIL_VIKLIK <> OLD.KLIENT_KIL_VIKLIK"),
                  [&] {
                      ws->prompts.answerInput(QStringLiteral("причина"));
                      return archived(n).DeleteArchivedOrder().done;
                  });
    expectNoTrace(QStringLiteral("KLIENT"), QStringLiteral("1 = 1"), [&] {
        ws->prompts.answerQuestion(true);
        return archived(n).ToggleArchivedOrderFree().done;
    });
}
