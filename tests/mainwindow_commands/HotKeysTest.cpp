#include "mainwindow/HotKeys.h"

#include <gtest/gtest.h>

namespace {

HotKeyState onShift()
{
    HotKeyState state;
    state.loggedIn = true;
    state.openOrdersEmpty = false;
    return state;
}

} // namespace

TEST(HotKeys, NothingButThePageStepWorksWhileNobodyIsLoggedIn)
{
    HotKeyState out = onShift();
    out.loggedIn = false;
    for (HotKey key : {HotKey::Ins, HotKey::Del, HotKey::CtrlIns, HotKey::CtrlDel, HotKey::CtrlV,
                       HotKey::CtrlB, HotKey::CtrlN})
        EXPECT_EQ(resolveHotKey(key, out).command, HotKeyCommand::None);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlM, out).command, HotKeyCommand::NextOrdersPage);
}

TEST(HotKeys, DriverKeysFollowTheDriversPageAndAskForTheActiveTabElsewhere)
{
    HotKeyState state = onShift();
    EXPECT_EQ(resolveHotKey(HotKey::Ins, state).command, HotKeyCommand::PutDriverOnAir);
    EXPECT_EQ(resolveHotKey(HotKey::Del, state).command, HotKeyCommand::TakeDriverOffAir);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlDel, state).command, HotKeyCommand::RemoveDriverFromStand);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlIns, state).command, HotKeyCommand::SendMessageToDriver);

    state.driversPageShown = false;
    EXPECT_EQ(resolveHotKey(HotKey::Del, state).command, HotKeyCommand::TakeStandDriverOffAir);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlDel, state).command, HotKeyCommand::RemoveStandDriverFromStand);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlIns, state).command, HotKeyCommand::None);

    state.mainTab = 1;
    const HotKeyAction ins = resolveHotKey(HotKey::Ins, state);
    EXPECT_EQ(ins.command, HotKeyCommand::ShowMessage);
    EXPECT_EQ(
        ins.message,
        QStringLiteral("Для можливості відкриття водія потрібно перейти у закладку АКТИВНІ ЗАМОВЛЕННЯ"));
    for (HotKey key : {HotKey::Del, HotKey::CtrlIns, HotKey::CtrlDel}) {
        const HotKeyAction action = resolveHotKey(key, state);
        EXPECT_EQ(action.command, HotKeyCommand::ShowMessage);
        EXPECT_TRUE(action.message.endsWith(QStringLiteral("АКТИВНІ ЗАМОВЛЕННЯ для вибору водія")));
    }
    EXPECT_EQ(resolveHotKey(HotKey::CtrlV, state).command, HotKeyCommand::NewUncodedOrder);
}

TEST(HotKeys, ClosingOrdersNeedsAnOrderShownOutsideTheHotPage)
{
    HotKeyState state = onShift();
    EXPECT_EQ(resolveHotKey(HotKey::CtrlB, state).command, HotKeyCommand::CloseCurrentOrder);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlN, state).command, HotKeyCommand::CloseOrderGroup);
    state.hotOrdersPageShown = true;
    EXPECT_EQ(resolveHotKey(HotKey::CtrlB, state).command, HotKeyCommand::None);
    state.hotOrdersPageShown = false;
    state.openOrdersEmpty = true;
    EXPECT_EQ(resolveHotKey(HotKey::CtrlN, state).command, HotKeyCommand::None);
}

TEST(HotKeys, TextEditingKeysStayWithAFocusedTextBox)
{
    HotKeyState state = onShift();
    state.editBoxFocused = true;
    for (HotKey key : {HotKey::Ins, HotKey::Del, HotKey::CtrlIns, HotKey::CtrlDel, HotKey::CtrlV})
        EXPECT_EQ(resolveHotKey(key, state).command, HotKeyCommand::None);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlB, state).command, HotKeyCommand::CloseCurrentOrder);
    EXPECT_EQ(resolveHotKey(HotKey::CtrlM, state).command, HotKeyCommand::NextOrdersPage);
}
