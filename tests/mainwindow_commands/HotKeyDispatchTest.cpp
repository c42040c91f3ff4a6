#include "CommandsFixture.h"

#include "fleet/CarCardStands.h"
#include "foundation/TDANI.h"
#include "mainwindow/HotKeyDispatch.h"
#include "mainwindow/MainWindowCommands.h"

#include <QSignalSpy>

// The keys run the desk's commands on the real lists, without a window.
class HotKeyDispatchTest : public CommandsFixture
{
protected:
    void SetUp() override
    {
        CommandsFixture::SetUp();
        commands = std::make_unique<MainWindowCommands>(*ctx, card, [] { return true; });
        keys = std::make_unique<HotKeyDispatch>(*ctx, *commands);
        state.loggedIn = true;
    }
    void TearDown() override
    {
        keys.reset();
        commands.reset();
        CommandsFixture::TearDown();
    }
    void addOrder(qint64 number, qint64 callsign)
    {
        db->exec(
            QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL, ZAMOVL_POZIVNIY, "
                           "ZAMOVL_NOMER_KLIENT) VALUES (%1, 0, %2, 12)")
                .arg(number)
                .arg(callsign));
    }

    NoCarCardStands card;
    std::unique_ptr<MainWindowCommands> commands;
    std::unique_ptr<HotKeyDispatch> keys;
    HotKeyState state;
};

TEST_F(HotKeyDispatchTest, DriverKeysActOnTheCurrentDriverOrTheSelectedStand)
{
    putOnAir(21, QStringLiteral("Марко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    putOnAir(22, QStringLiteral("Іван"), QStringLiteral("Вокзал"), QStringLiteral("0002"));
    openLists();
    selectDriver(22);
    prompts.answerQuestion(true);
    keys->press(HotKey::Del, state);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("Зняти вибраного позивного [22] з ефіра ?"));
    EXPECT_FALSE(onAir(22));

    // On the stand page Del asks which callsign of the stand's queue.
    openLists();
    prompts.clear();
    state.driversPageShown = false;
    prompts.answerInput(QStringLiteral("21"));
    keys->press(HotKey::Del, state);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, ScriptedPrompts::Shown::Input);
    EXPECT_FALSE(onAir(21));
}

TEST_F(HotKeyDispatchTest, AKeyOutsideTheActiveOrdersTabOnlyTellsWhereToGo)
{
    putOnAir(21, QStringLiteral("Марко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    openLists();
    state.mainTab = 1;
    keys->press(HotKey::Del, state);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, ScriptedPrompts::Shown::Message);
    EXPECT_TRUE(onAir(21));
}

TEST_F(HotKeyDispatchTest, WindowKeysAskForTheirWindows)
{
    addOrder(5, 21);
    openLists();
    state.openOrdersEmpty = false;
    QSignalSpy orderForm(keys.get(), &HotKeyDispatch::orderFormRequested);
    QSignalSpy maintenance(keys.get(), &HotKeyDispatch::maintenanceRequested);
    QSignalSpy nextPage(keys.get(), &HotKeyDispatch::nextOrdersPageRequested);

    keys->press(HotKey::CtrlV, state);
    ASSERT_EQ(orderForm.size(), 1);
    EXPECT_EQ(orderForm[0][0].value<OrderFormOpening>(), OrderFormOpening::UncodedOrder);

    keys->press(HotKey::CtrlB, state);
    keys->press(HotKey::CtrlN, state);
    ASSERT_EQ(maintenance.size(), 2);
    const auto closeOne = maintenance[0][0].value<OrderMaintenanceRequest>();
    EXPECT_EQ(closeOne.number, 5);
    EXPECT_EQ(closeOne.callsign, 21);
    EXPECT_EQ(closeOne.then, OrderMaintenanceRequest::Then::CloseSelectedOrder);
    EXPECT_EQ(maintenance[1][0].value<OrderMaintenanceRequest>().then,
              OrderMaintenanceRequest::Then::CloseSelectionOfOrders);

    // Not from the hot orders page, and nothing while logged out but the page step.
    state.hotOrdersPageShown = true;
    keys->press(HotKey::CtrlB, state);
    state.loggedIn = false;
    keys->press(HotKey::CtrlV, state);
    keys->press(HotKey::CtrlM, state);
    EXPECT_EQ(maintenance.size(), 2);
    EXPECT_EQ(orderForm.size(), 1);
    EXPECT_EQ(nextPage.size(), 1);
}

TEST_F(HotKeyDispatchTest, PuttingADriverOnAirAsksForHisCard)
{
    addCar(55, 3);
    addDriver(3, QStringLiteral("Мар'ян Коваль"));
    QSignalSpy cardShown(keys.get(), &HotKeyDispatch::carCardRequested);
    prompts.answerInput(QStringLiteral("55"));
    keys->press(HotKey::Ins, state);
    EXPECT_TRUE(onAir(55));
    EXPECT_EQ(cardShown.size(), 1);
    // Already on air: refused with its message, no card.
    prompts.answerInput(QStringLiteral("55"));
    keys->press(HotKey::Ins, state);
    EXPECT_EQ(cardShown.size(), 1);
}

TEST_F(HotKeyDispatchTest, ABlackListedCallsignAsksForTheBlackListNotTheCard)
{
    addCar(56, 4);
    addDriver(4, QStringLiteral("Петро"));
    db->exec(
        QStringLiteral("INSERT INTO BL_VODII (BL_VODIY_NOMER, BL_AVTO_POZIVN, BL_STATUS) VALUES (7, 56, 1)"));
    QSignalSpy cardShown(keys.get(), &HotKeyDispatch::carCardRequested);
    QSignalSpy blackList(keys.get(), &HotKeyDispatch::blackListRequested);
    prompts.answerInput(QStringLiteral("56"));
    keys->press(HotKey::Ins, state);
    EXPECT_FALSE(onAir(56));
    EXPECT_EQ(blackList.size(), 1);
    EXPECT_EQ(cardShown.size(), 0);
    db->exec(QStringLiteral("DELETE FROM BL_VODII"));
}

TEST_F(HotKeyDispatchTest, ADatabaseFailureIsShownNotThrown)
{
    putOnAir(21, QStringLiteral("Марко"), QStringLiteral("Вокзал"), QStringLiteral("0001"));
    openLists();
    ws->dani->IBEvents1.cancel();
    ws->dani->BAZA.disconnect();
    prompts.answerInput(QStringLiteral("21"));
    EXPECT_NO_THROW(keys->press(HotKey::Ins, state));
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().last().kind, ScriptedPrompts::Shown::Message);
}
