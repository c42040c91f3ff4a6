#include "DispatchFixture.h"

#include "dispatch/BlackList.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/BlackListController.h"
#include "support/HeldRowLock.h"

// Barring and lifting on a real database, through the operations and through the
// window's controller as the dispatcher drives it.
class BlackListing : public DispatchFixture
{
protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        clock.set(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 30)));
    }

    // Callsign 12 on air carrying an order, with its GPRS refresh row.
    qint64 driverTwelveWithAnOrder()
    {
        addCar(12);
        const qint64 order = addOrder(QStringLiteral("[Лесі Українки]{5}"), {}, {}, 0, 12);
        putOnAir(12, QStringLiteral("Петро"), QStringLiteral("[Вокзал]{}"), QStringLiteral("0001"), order);
        db->exec(
            QStringLiteral("INSERT INTO REFLESH_DANI_VODIY_GPRS (REFLESH_VODIY_POZ, REFLESH_VODIY_ZAMOV, "
                           "REFLESH_VODIY_NZ) VALUES (12, '-', 77)"));
        return order;
    }

    qint64 activeEntries(qint64 callsign)
    {
        return count(
            QStringLiteral("SELECT COUNT(*) FROM BL_VODII WHERE BL_STATUS = 1 AND BL_AVTO_POZIVN = %1")
                .arg(callsign));
    }

    QString newestReason()
    {
        return db->exec(QStringLiteral("SELECT FIRST 1 BL_TEXT FROM BL_VODII ORDER BY BL_VODIY_NOMER DESC"))
            .rows[0][0]
            .toString();
    }
};

TEST_F(BlackListing, BarringACallsignGivesItsOrderBackTakesItOffAirAndJournalsTheBar)
{
    const qint64 order = driverTwelveWithAnOrder();
    BlackList::Bar(*ctx, {12}, QStringLiteral("Грубість з клієнтом"));

    const FbRows orders = db->exec(
        QStringLiteral("SELECT ZAMOVL_POZIVNIY, ZAMOVL_FIO_TAXI, ZAMOVL_STATUS_ZAMOVL FROM ZAMOVLENNIA WHERE "
                       "ZAMOVL_NUMBER = %1")
            .arg(order));
    EXPECT_FALSE(orders.value(0, QStringLiteral("ZAMOVL_POZIVNIY")).isValid());
    EXPECT_FALSE(orders.value(0, QStringLiteral("ZAMOVL_FIO_TAXI")).isValid());
    EXPECT_EQ(orders.value(0, QStringLiteral("ZAMOVL_STATUS_ZAMOVL")).toInt(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = 12")), 0);

    const FbRows entry = db->exec(QStringLiteral("SELECT * FROM BL_VODII"));
    ASSERT_EQ(entry.rowCount(), 1);
    EXPECT_EQ(entry.value(0, QStringLiteral("BL_VODIY_NOMER")).toInt(), 1);
    EXPECT_EQ(entry.value(0, QStringLiteral("BL_STATUS")).toInt(), 1);
    EXPECT_EQ(entry.value(0, QStringLiteral("BL_AVTOR")).toString(), QStringLiteral("Оля Диспетчер"));
    EXPECT_EQ(entry.value(0, QStringLiteral("BL_DATATIME")).toDateTime(),
              QDateTime(QDate(2026, 3, 5), QTime(9, 7))); // to the minute

    const FbRows gprs = db->exec(QStringLiteral("SELECT * FROM REFLESH_DANI_VODIY_GPRS"));
    EXPECT_EQ(gprs.value(0, QStringLiteral("REFLESH_VODIY_ZAMOV")).toString(), QStringLiteral("+"));
    EXPECT_EQ(gprs.value(0, QStringLiteral("REFLESH_VODIY_NZ")).toInt(), 0);
    EXPECT_EQ(gprs.value(0, QStringLiteral("REFLESH_VODIY_DATETIME")).toDateTime(), clock.now());
}

TEST_F(BlackListing, BarringTwiceKeepsTwoActiveEntriesAndReasonsAreStoredAsTypedCutTo200)
{
    addCar(12);
    const QString quoted = QStringLiteral("П'яний', 1); DELETE FROM BL_VODII; --");
    BlackList::Bar(*ctx, {12}, quoted);
    EXPECT_EQ(newestReason(), quoted);
    BlackList::Bar(*ctx, {12}, QString(250, QLatin1Char('x')));
    EXPECT_EQ(newestReason(), QString(200, QLatin1Char('x')));
    EXPECT_EQ(activeEntries(12), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT MAX(BL_VODIY_NOMER) FROM BL_VODII")), 2);
}

TEST_F(BlackListing, ABarThatFailsHalfwayWritesNothingForAnyCallsign)
{
    const qint64 order = driverTwelveWithAnOrder();
    addCar(14);
    putOnAir(14, QStringLiteral("Іван"), QStringLiteral("[Вокзал]{}"), QStringLiteral("0002"));
    // Another workstation is changing 14 right now: its row stays locked.
    HeldRowLock held(
        db->other(),
        QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_FIO_VODIY = 'Іван' WHERE ZAD_AVTO_POZIVNIY = 14"));
    try {
        BlackList::Bar(*ctx, {12, 14}, QStringLiteral("Не здав виручку"));
        FAIL() << "the held row must stop the bar";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.lockConflict()) << error.message().toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BL_VODII")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ZAD_AVTO_POZIVNIY = 12")), 1);
    EXPECT_EQ(
        count(QStringLiteral("SELECT ZAMOVL_POZIVNIY FROM ZAMOVLENNIA WHERE ZAMOVL_NUMBER = %1").arg(order)),
        12);
}

TEST_F(BlackListing, LiftingJournalsTheEntryDateAndReasonOnceEvenWhenTwoWorkstationsLift)
{
    db->exec(QStringLiteral("INSERT INTO BL_VODII VALUES (4, 12, '05.03.2013 09:15', 'Інша', 'Бійка', 1)"));
    const BlackList::Entry entry{4, 12, QStringLiteral("05.03.2013 09:15:00")};
    BlackList::Lift(*ctx, entry, QStringLiteral("з'ясовано"));
    EXPECT_EQ(activeEntries(12), 0);
    const FbRows lifting = db->exec(QStringLiteral("SELECT * FROM BL_VODII WHERE BL_VODIY_NOMER = 5"));
    ASSERT_EQ(lifting.rowCount(), 1);
    EXPECT_EQ(lifting.value(0, QStringLiteral("BL_STATUS")).toInt(), 0);
    EXPECT_EQ(
        lifting.value(0, QStringLiteral("BL_TEXT")).toString(),
        QStringLiteral("деактивація [від дати <05.03.2013 09:15:00>] причина деактивації >>> з'ясовано"));

    // The same entry lifted again from a window that still shows it: refused, nothing journalled.
    try {
        BlackList::Lift(*ctx, entry, QStringLiteral("ще раз"));
        FAIL() << "an entry lifted meanwhile must not be lifted twice";
    } catch (const DbError& error) {
        EXPECT_EQ(error.message(), BlackList::kAlreadyLifted);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BL_VODII")), 2);
    EXPECT_EQ(BlackList::LiftingReason(QStringLiteral("d"), QString(300, QLatin1Char('r'))).size(),
              BlackList::kReasonLength);
}

class BlackListWindow : public BlackListing
{
protected:
    void SetUp() override
    {
        BlackListing::SetUp();
        controller = std::make_unique<BlackListController>(*ctx);
        controller->Shown();
    }
    void TearDown() override
    {
        controller.reset();
        BlackListing::TearDown();
    }

    void type(const QString& keys)
    {
        for (QChar key : keys)
            controller->CallsignKey(key.unicode(), QString(key));
    }
    void typeEnter() { controller->CallsignKey(Qt::Key_Return, QStringLiteral("\r")); }

    std::unique_ptr<BlackListController> controller;
};

TEST_F(BlackListWindow, ThePendingListTakesDigitsOnlyAndEachTextOnce)
{
    type(QStringLiteral("7a-"));
    controller->CallsignKey(Qt::Key_Backspace, {});
    EXPECT_EQ(controller->callsignBox(), QStringLiteral("7"));
    typeEnter();
    type(QStringLiteral("7"));
    controller->AddTypedToPending();
    type(QStringLiteral("07"));
    typeEnter();
    EXPECT_EQ(controller->pending(), (QStringList{QStringLiteral("[7]"), QStringLiteral("[07]")}));
    EXPECT_TRUE(controller->callsignBox().isEmpty());

    type(QStringLiteral("99999999999999999999")); // more than any callsign can be
    typeEnter();
    EXPECT_EQ(ws->prompts.messages(), QStringList{QStringLiteral("Не вірно вказаний позивний !!!")});
    EXPECT_EQ(controller->pending().size(), 2);

    controller->RemovePending(0);
    controller->RemovePending(5); // nothing chosen: nothing happens
    EXPECT_EQ(controller->pending(), QStringList{QStringLiteral("[07]")});
    controller->ClearPending();
    EXPECT_TRUE(controller->pending().isEmpty());
}

TEST_F(BlackListWindow, BarringThePendingListFindsCallsignsByNumberAndSkipsUnknownOnes)
{
    driverTwelveWithAnOrder();
    addCar(7);
    for (const QString& typed :
         {QStringLiteral("7"), QStringLiteral("07"), QStringLiteral("55"), QStringLiteral("12")}) {
        type(typed);
        typeEnter();
    }
    controller->BarPendingCallsigns(); // no reason yet
    EXPECT_EQ(ws->prompts.messages().value(0),
              QStringLiteral(
                  "Не вказано причину внесення позивних у чорний список. При потребі повторіть спробу."));
    controller->setReasonBox(QStringLiteral("   "));
    controller->BarPendingCallsigns(); // blanks are no reason either
    EXPECT_EQ(ws->prompts.messages().size(), 2);

    controller->setReasonBox(QStringLiteral(" Скарги "));
    ws->prompts.answerQuestion(false);
    controller->BarPendingCallsigns();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BL_VODII")), 0);

    ws->prompts.answerQuestion(true);
    controller->BarPendingCallsigns();
    EXPECT_EQ(activeEntries(7), 2); // [7] and [07] name the same car
    EXPECT_EQ(activeEntries(12), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BL_VODII WHERE BL_AVTO_POZIVN = 55")), 0);
    EXPECT_EQ(newestReason(), QStringLiteral(" Скарги ")); // stored as typed
    EXPECT_EQ(controller->pending().size(), 4);            // kept for another try
    EXPECT_EQ(controller->list().recordCount(), 3);
}

TEST_F(BlackListWindow, BarringOneCallsignRefusesAnythingButAKnownNumberAndAReason)
{
    driverTwelveWithAnOrder();
    ws->prompts.answerInput(QStringLiteral("1 OR 1=1"));
    controller->BarOneCallsign();
    ws->prompts.answerInput(QStringLiteral("13"));
    controller->BarOneCallsign();
    ws->prompts.answerInput(QStringLiteral("12"));
    ws->prompts.answerInput({});
    controller->BarOneCallsign();
    EXPECT_EQ(
        ws->prompts.messages(),
        (QStringList{QStringLiteral("Не найдено такий позивний [1 OR 1=1]"),
                     QStringLiteral("Не найдено такий позивний [13]"),
                     QStringLiteral("Не вказано причину внесення позивного у чорний список. При потребі "
                                    "повторіть спробу.")}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BL_VODII")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")), 1);

    ws->prompts.answerInput(QStringLiteral("12"));
    ws->prompts.answerInput(QStringLiteral("Не вийшов на зв'язок"));
    controller->BarOneCallsign();
    EXPECT_EQ(activeEntries(12), 1);
    ASSERT_EQ(controller->list().recordCount(), 1);
    EXPECT_EQ(controller->list().value(QStringLiteral("BL_TEXT")).toString(),
              QStringLiteral("Не вийшов на зв'язок"));

    // Lifting the chosen entry empties the list of active bars.
    ws->prompts.answerInput(QStringLiteral("Пояснив"));
    controller->LiftChosen();
    EXPECT_EQ(activeEntries(12), 0);
    EXPECT_EQ(controller->list().recordCount(), 0);
    EXPECT_TRUE(newestReason().startsWith(QStringLiteral("деактивація [від дати <05.03.2026 09:07:00>]")));
}
