#include "MaintenanceFixture.h"

#include "orders/maintenance/OpenOrderTexts.h"

#include <atomic>
#include <functional>
#include <thread>

// A refused write in the middle of an operation.
class Integrity : public MaintenanceFixture
{
};

TEST_F(Integrity, ARefusedWriteInTheMiddleOfAnOperationLeavesNoTrace)
{
    addDriver(7, QStringLiteral("Петро"));
    addDriver(8, QStringLiteral("Гриць"));
    addClient(42, 4, 1);
    addClient(77, 0, 0);
    putOnAir(8, QStringLiteral("Гриць"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(8, QStringLiteral("Гриць"), QStringLiteral("Ринок"), QStringLiteral("0002"));
    const qint64 n = addAssignedOrder(7, QStringLiteral("Петро"), {.client = 42});
    const qint64 second = addOrder({.callsign = 9, .driver = QStringLiteral("Іван")});
    putOnAir(9, QStringLiteral("Іван"), QStringLiteral("[Шевченка]{12}"), QStringLiteral("11:00:00"), second);
    const QString always = QStringLiteral("1 = 1");

    expectNoTrace(QStringLiteral("KLIENT"), QStringLiteral("NEW.KLIENT_BALANS <> OLD.KLIENT_BALANS"), [&] {
        ws->prompts.answerQuestion(true);
        ws->prompts.answerInput(QStringLiteral("10"));
        return page(n).CloseOrderWithBalance().done;
    });
    expectNoTrace(QStringLiteral("ZAMOVLENNIA"), QStringLiteral("NEW.ZAMOVL_NUMBER = %1").arg(second), [&] {
        ws->prompts.answerQuestion(true);
        return page(n).CloseDueOrders().done;
    });
    expectNoTrace(QStringLiteral("REFLESH_DANI_VODIY_GPRS"), always, [&] {
        ws->prompts.answerQuestion(true);
        return page(n).ChangeOpenOrderDriver(QStringLiteral("[8] Гриць")).done;
    });
    expectNoTrace(QStringLiteral("REFLESH_DANI_VODIY_GPRS"), always, [&] {
        ws->prompts.answerInput(QStringLiteral("причина"));
        return page(n).DeleteOpenOrder().done;
    });
    expectNoTrace(QStringLiteral("REFLESH_DANI_VODIY_GPRS"), always, [&] {
        ws->prompts.answerInput(QStringLiteral("77"));
        return page(n).ChangeOpenOrderClient().done;
    });
    // The undone writes do not come back with the next commit.
    ws->prompts.answerQuestion(true);
    ws->prompts.answerInput(QStringLiteral("10"));
    EXPECT_TRUE(page(n).CloseOrderWithBalance().done);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = 8")), 2);
    EXPECT_EQ(value(QStringLiteral("SELECT KLIENT_BALANS FROM KLIENT WHERE KLIENT_NUMBER = 1")).toDouble(),
              90.0);
}

// Two workstations run the same command on the same order at the same moment.
class Racing : public MaintenanceFixture
{
protected:
    static constexpr int kRounds = 100;
    // Before each round: a new driver on air, free, for the re-assignment.
    void race(const std::function<void(TestWorkstation&)>& answer,
              const std::function<bool(OpenOrderMaintenance&)>& operation, int closedRides,
              const std::function<void()>& beforeRound = {})
    {
        TestWorkstation otherStation(db->serverSettings());
        ASSERT_TRUE(otherStation.connect());
        auto other = makeContext(otherStation, clock);
        for (int round = 0; round < kRounds; ++round) {
            const qint64 callsign = 100 + round;
            if (beforeRound)
                beforeRound();
            const QString name = QStringLiteral("Водій %1").arg(round);
            addDriver(callsign, name);
            const OrderMaintenanceRequest shown = header(addAssignedOrder(callsign, name));
            answer(*ws);
            answer(otherStation);
            std::atomic<int> ready{0};
            bool won[2] = {false, false};
            auto run = [&](DispatchContext& c, bool& result) {
                OpenOrderMaintenance maintenance(c, shown);
                ++ready;
                while (ready < 2) {
                }
                result = operation(maintenance);
            };
            std::thread a(run, std::ref(*ctx), std::ref(won[0]));
            std::thread b(run, std::ref(*other), std::ref(won[1]));
            a.join();
            b.join();
            ASSERT_EQ(int(won[0]) + int(won[1]), 1) << "round " << round;
            EXPECT_EQ(
                count(QStringLiteral("SELECT TABL_AVTO_KILVIKLIK FROM DANI_AVTO WHERE TABL_AVTO_POZIVN = %1")
                          .arg(callsign)),
                10 + closedRides);
            EXPECT_FALSE(ws->dani->TRANZ_RIZNE.isActive() || otherStation.dani->TRANZ_RIZNE.isActive());
            db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO"));
        }
    }
};

TEST_F(Racing, ClosingOneOrderHasExactlyOneWinner)
{
    race([](TestWorkstation& w) { w.prompts.answerQuestion(true); },
         [](OpenOrderMaintenance& m) { return m.CloseOrder().done; }, 1);
}

TEST_F(Racing, DeletingOneOrderHasExactlyOneWinnerAndOneReason)
{
    race([](TestWorkstation& w) { w.prompts.answerInput(QStringLiteral("відмова")); },
         [](OpenOrderMaintenance& m) { return m.DeleteOpenOrder().done; }, 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_PRICHINA_DELETE LIKE "
                                   "'<Оля Диспетчер> відмова    {%'")),
              kRounds);
}

TEST_F(Racing, ReassigningOneOrderHasExactlyOneWinnerAndOneCarrier)
{
    addDriver(900, QStringLiteral("Новий"));
    race([](TestWorkstation& w) { w.prompts.answerQuestion(true); },
         [](OpenOrderMaintenance& m) { return m.ChangeOpenOrderDriver(QStringLiteral("[900] Новий")).done; },
         0,
         [this] { putOnAir(900, QStringLiteral("Новий"), QStringLiteral("Ринок"), QStringLiteral("0001")); });
    // Every order went to the new driver once, and no order lost its carrier.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_POZIVNIY = 900")), kRounds);
}
