#include "DispatchFixture.h"

#include "dispatch/DriverMessages.h"
#include "dispatch/OrderAssignment.h"
#include "foundation/SqlLiteral.h"
#include "support/HeldRowLock.h"

#include <QElapsedTimer>

#include <atomic>
#include <thread>

class Assignment : public DispatchFixture
{
protected:
    void addRefreshRow(qint64 callsign)
    {
        db->exec(QStringLiteral("INSERT INTO REFLESH_DANI_VODIY_GPRS (REFLESH_VODIY_POZ, "
                                "REFLESH_VODIY_ZAMOV, REFLESH_VODIY_NZ) "
                                "VALUES (%1, '-', 0)")
                     .arg(callsign));
    }
};

TEST_F(Assignment, HandsTheOrderOverAndMovesTheDriverToTheDestination)
{
    putOnAir(12, QStringLiteral("Мар'ян"), QStringLiteral("Вокзал"), QStringLiteral("0003"));
    putOnAir(12, QStringLiteral("Мар'ян"), QStringLiteral("Ринок"),
             QStringLiteral("0001")); // marked at two stands
    addRefreshRow(12);
    const QDateTime due(QDate(2026, 3, 2), QTime(11, 50, 0));
    const qint64 order = addOrder(QStringLiteral("[Лесі]{2}"), QStringLiteral("[Шевченка]{12} кв. 5"), due);
    clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 7, 31)));
    ASSERT_TRUE(AssignOrderToDriver(*ctx, 12, order));

    const FbRows o = db->exec(QStringLiteral("SELECT * FROM ZAMOVLENNIA"));
    EXPECT_EQ(o.value(0, QStringLiteral("ZAMOVL_POZIVNIY")).toInt(), 12);
    EXPECT_EQ(o.value(0, QStringLiteral("ZAMOVL_FIO_TAXI")).toString(), QStringLiteral("Мар'ян"));
    EXPECT_EQ(o.value(0, QStringLiteral("ZAMOVL_ROZDACHA_ZAMOVL")).toString(),
              QStringLiteral("Оля Диспетчер"));
    EXPECT_EQ(o.value(0, QStringLiteral("ZAMOVL_CHAS_PRIYOM_VODIY")).toString(), QStringLiteral("09:07"));
    const FbRows d = db->exec(QStringLiteral("SELECT * FROM ZADIANI_AVTO"));
    ASSERT_EQ(d.rowCount(), 1); // the row at the other stand went
    EXPECT_EQ(d.value(0, QStringLiteral("ZAD_AVTO_VULICA")).toString(), QStringLiteral("[Шевченка]{12}"));
    EXPECT_EQ(d.value(0, QStringLiteral("ZAD_AVTO_ZADIANIST")).toInt(), 1);
    EXPECT_EQ(d.value(0, QStringLiteral("ZAD_AVTO_NOMER_ZAMOVL")).toLongLong(), order);
    EXPECT_EQ(d.value(0, QStringLiteral("ZAD_AVTO_CHAS_ZAMOVL")).toString(), QStringLiteral("11:50:00"));
    EXPECT_EQ(d.value(0, QStringLiteral("ZAD_AVTO_CHAS_PRIBUTTIA")).toTime(), QTime(12, 10));
    const FbRows r = db->exec(QStringLiteral("SELECT * FROM REFLESH_DANI_VODIY_GPRS"));
    EXPECT_EQ(r.value(0, QStringLiteral("REFLESH_VODIY_ZAMOV")).toString(), QStringLiteral("+"));
    EXPECT_EQ(r.value(0, QStringLiteral("REFLESH_VODIY_NZ")).toLongLong(), order);
    EXPECT_EQ(r.value(0, QStringLiteral("REFLESH_VODIY_DATETIME")).toDateTime(), clock.now());
}

TEST_F(Assignment, AnOrderWithoutDestinationPutsTheDriverAtTheZeroStand)
{
    putOnAir(3, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    ASSERT_TRUE(AssignOrderToDriver(*ctx, 3, addOrder(QStringLiteral("[Лесі]{2}"))));
    EXPECT_EQ(db->exec(QStringLiteral("SELECT ZAD_AVTO_VULICA FROM ZADIANI_AVTO")).rows[0][0].toString(),
              QStringLiteral("[]{}"));
}

TEST_F(Assignment, RefusesWhatChangedMeanwhile)
{
    putOnAir(1, QStringLiteral("Вільний"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(2, QStringLiteral("Зайнятий"), QStringLiteral("[Лесі]{2}"), QStringLiteral("08:00:00"), 999);
    const qint64 open = addOrder(QStringLiteral("[Лесі]{1}"));
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 1, addOrder(QStringLiteral("x"), {}, {}, -1)));   // deleted
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 1, addOrder(QStringLiteral("x"), {}, {}, 1)));    // executed
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 1, addOrder(QStringLiteral("x"), {}, {}, 0, 7))); // assigned
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 2, open));                                        // engaged driver
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 44, open));                                       // no driver row
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 0, open));
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 1, 0));
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 1, 123456));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_FIO_TAXI IS NOT NULL")), 0);
    EXPECT_TRUE(ws->prompts.messages().isEmpty()); // the operation tells nothing itself
}

TEST_F(Assignment, AFailingWriteLeavesNoTrace)
{
    putOnAir(5, QStringLiteral("А"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(5, QStringLiteral("А"), QStringLiteral("Ринок"), QStringLiteral("0002"));
    addRefreshRow(5);
    const qint64 order = addOrder(QStringLiteral("[Лесі]{2}"), QStringLiteral("[Шевченка]{1}"));
    db->exec(QStringLiteral("CREATE EXCEPTION E_TEST_REFRESH 'refresh refused'"));
    db->exec(QStringLiteral("CREATE TRIGGER T_TEST_REFRESH FOR REFLESH_DANI_VODIY_GPRS BEFORE UPDATE AS "
                            "BEGIN EXCEPTION E_TEST_REFRESH; END"));
    EXPECT_FALSE(AssignOrderToDriver(*ctx, 5, order));
    db->exec(QStringLiteral("DROP TRIGGER T_TEST_REFRESH"));
    db->exec(QStringLiteral("DROP EXCEPTION E_TEST_REFRESH"));
    EXPECT_FALSE(ws->dani->TRANZ_RIZNE.isActive());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_POZIVNIY = 5")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_NOMER_ZAMOVL = 0")), 2);
    // And the next operation's commit does not carry the undone writes along.
    ASSERT_TRUE(AssignOrderToDriver(*ctx, 5, order));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")), 1);
}

TEST_F(Assignment, TwoWorkstationsRacingForOneOrderHaveExactlyOneWinner)
{
    TestWorkstation otherStation(db->serverSettings());
    ASSERT_TRUE(otherStation.connect());
    FixedClock otherClock(clock.now());
    auto other = makeContext(otherStation, otherClock);
    for (int round = 0; round < 100; ++round) {
        putOnAir(1000 + round, QStringLiteral("Перший"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
        putOnAir(2000 + round, QStringLiteral("Другий"), QStringLiteral("Ринок"), QStringLiteral("0001"));
        const qint64 order = addOrder(QStringLiteral("[Лесі]{2}"));
        std::atomic<int> ready{0};
        bool won[2] = {false, false};
        auto race = [&](DispatchContext& c, qint64 callsign, bool& result) {
            ++ready;
            while (ready < 2) {
            }
            result = AssignOrderToDriver(c, callsign, order);
        };
        std::thread a(race, std::ref(*ctx), 1000 + round, std::ref(won[0]));
        std::thread b(race, std::ref(*other), 2000 + round, std::ref(won[1]));
        a.join();
        b.join();
        ASSERT_EQ(int(won[0]) + int(won[1]), 1) << "round " << round;
        const qint64 winner = won[0] ? 1000 + round : 2000 + round;
        const qint64 loser = won[0] ? 2000 + round : 1000 + round;
        EXPECT_EQ(count(QStringLiteral("SELECT ZAMOVL_POZIVNIY FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1")
                            .arg(order)),
                  winner);
        EXPECT_EQ(count(QStringLiteral(
                            "SELECT ZAD_AVTO_NOMER_ZAMOVL FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = %1")
                            .arg(loser)),
                  0);
    }
}

TEST_F(Assignment, MessagesToDriversAreNumberedFromZeroAndCutTo500Characters)
{
    EXPECT_FALSE(SendMessageToDriver(*ctx, 0, QStringLiteral("А"), QStringLiteral("текст")));
    EXPECT_FALSE(SendMessageToDriver(*ctx, 5, QString(), QStringLiteral("текст")));
    EXPECT_FALSE(SendMessageToDriver(*ctx, 5, QStringLiteral("А"), QString()));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_VODIY")), 0);

    ASSERT_TRUE(
        SendMessageToDriver(*ctx, 5, QStringLiteral("Мар'яна"), QStringLiteral("Під'їдьте до \"Ринку\"")));
    const QString long600 = QString(599, QLatin1Char('x')) + QLatin1Char('\'');
    ASSERT_TRUE(SendMessageToDriver(*ctx, 5, QStringLiteral("Мар'яна"), long600));
    const FbRows rows = db->exec(QStringLiteral(
        "SELECT MSG_FOR_VODIY_NP, MSG_FOR_VODIY_TEXT, MSG_FOR_VODIY_STATUS, MSG_FOR_VODIY_AVTOR, "
        "MSG_FOR_VODIY_DCREATE FROM MSG_FOR_VODIY ORDER BY 1"));
    EXPECT_EQ(rows.rows[0][0].toInt(), 0);
    EXPECT_EQ(rows.rows[0][1].toString(), QStringLiteral("Під'їдьте до \"Ринку\""));
    EXPECT_EQ(rows.rows[0][2].toString(), QStringLiteral("D"));
    EXPECT_EQ(rows.rows[0][4].toDateTime(), clock.now());
    EXPECT_EQ(rows.rows[1][0].toInt(), 1);
    EXPECT_EQ(rows.rows[1][1].toString(), QString(500, QLatin1Char('x')));
}

TEST_F(Assignment, AMessageNumberTakenMeanwhileIsAFailedSend)
{
    // Another workstation has written number 0 and not committed yet; ours computes 0 too.
    FbTransaction pending(db->other(), QStringLiteral("PENDING"));
    FbQuery q(pending);
    q.exec(QStringLiteral(
        "INSERT INTO MSG_FOR_VODIY (MSG_FOR_VODIY_NP, MSG_FOR_VODIY_TEXT) VALUES (0, 'їхній')"));
    std::thread committer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        pending.commit();
    });
    const bool sent = SendMessageToDriver(*ctx, 5, QStringLiteral("А"), QStringLiteral("наш"));
    committer.join();
    EXPECT_FALSE(sent);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM MSG_FOR_VODIY")), 1);
}

// Another workstation is in the middle of changing the order or the driver: the
// assignment waits a few seconds at most, then writes nothing.
TEST_F(Assignment, ARowHeldByAnotherWorkstationIsNotHandedOutAndNothingIsHalfWritten)
{
    putOnAir(14, QStringLiteral("Остап"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    addRefreshRow(14);
    const qint64 order = addOrder(QStringLiteral("[Лесі]{2}"), QStringLiteral("[Шевченка]{12}"));
    const QString untouched =
        QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE (ZAMOVL_POZIVNIY = 0) AND "
                       "(ZAMOVL_ROZDACHA_ZAMOVL IS NULL)");
    const QString freeDriver =
        QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE (ZAD_AVTO_NOMER_ZAMOVL = 0) "
                       "AND (ZAD_AVTO_VULICA = 'Вокзал')");
    const QString refreshUntouched =
        QStringLiteral("SELECT COUNT(*) FROM REFLESH_DANI_VODIY_GPRS WHERE REFLESH_VODIY_ZAMOV = '-'");
    for (const QString& held :
         {QStringLiteral(
              "UPDATE ZAMOVLENNIA SET ZAMOVL_PRICHINA_DELETE = 'редагується' WHERE ZAMOVL_NUMBER = %1")
              .arg(order),
          // The order is written first: a driver held elsewhere must undo it again.
          QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_RIBA = NULL WHERE ZAD_AVTO_POZIVNIY = 14")}) {
        QElapsedTimer waited;
        waited.start();
        {
            HeldRowLock lock(db->other(), held);
            EXPECT_FALSE(AssignOrderToDriver(*ctx, 14, order)) << held.toStdString();
        }
        EXPECT_LT(waited.elapsed(), 15000);
        EXPECT_FALSE(ws->dani->TRANZ_RIZNE.isActive());
        EXPECT_EQ(count(untouched), 1);
        EXPECT_EQ(count(freeDriver), 1);
        EXPECT_EQ(count(refreshUntouched), 1);
    }
    // Once the other workstation is done the order goes out.
    EXPECT_TRUE(AssignOrderToDriver(*ctx, 14, order));
}
