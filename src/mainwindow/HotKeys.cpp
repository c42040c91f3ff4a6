#include "mainwindow/HotKeys.h"

namespace {

HotKeyAction run(HotKeyCommand command)
{
    return {command, {}};
}

HotKeyAction tell(const char* text)
{
    return {HotKeyCommand::ShowMessage, QString::fromUtf8(text)};
}

// Keys that act on the drivers work only on the active orders tab, where the drivers are.
HotKeyAction onActiveTab(const HotKeyState& state, HotKeyAction action, const char* elsewhere)
{
    return state.mainTab == 0 ? action : tell(elsewhere);
}

} // namespace

HotKeyAction resolveHotKey(HotKey key, const HotKeyState& state)
{
    if (key == HotKey::CtrlM)
        return run(HotKeyCommand::NextOrdersPage);
    if (!state.loggedIn)
        return {};
    const bool editsText = key == HotKey::Ins || key == HotKey::Del || key == HotKey::CtrlIns ||
                           key == HotKey::CtrlDel || key == HotKey::CtrlV;
    // Pasting a telephone number must not create an order, nor Del take a driver off air.
    if (editsText && state.editBoxFocused)
        return {};
    switch (key) {
    case HotKey::Ins:
        return onActiveTab(state, run(HotKeyCommand::PutDriverOnAir),
                           "Для можливості відкриття водія потрібно перейти у закладку АКТИВНІ ЗАМОВЛЕННЯ");
    case HotKey::Del:
        return onActiveTab(
            state,
            run(state.driversPageShown ? HotKeyCommand::TakeDriverOffAir
                                       : HotKeyCommand::TakeStandDriverOffAir),
            "Для можливості закриття водія потрібно перейти у закладку АКТИВНІ ЗАМОВЛЕННЯ для вибору водія");
    case HotKey::CtrlIns:
        // From the stand page there is no current driver to write to.
        if (state.mainTab == 0 && !state.driversPageShown)
            return {};
        return onActiveTab(state, run(HotKeyCommand::SendMessageToDriver),
                           "Для відправки повідомлення водію потрібно перейти у закладку АКТИВНІ ЗАМОВЛЕННЯ "
                           "для вибору водія");
    case HotKey::CtrlDel:
        return onActiveTab(
            state,
            run(state.driversPageShown ? HotKeyCommand::RemoveDriverFromStand
                                       : HotKeyCommand::RemoveStandDriverFromStand),
            "Для зміни стоянки водія потрібно перейти у закладку АКТИВНІ ЗАМОВЛЕННЯ для вибору водія");
    case HotKey::CtrlV:
        return run(HotKeyCommand::NewUncodedOrder);
    case HotKey::CtrlB:
    case HotKey::CtrlN:
        // The order views must show an open order: not the hot list, not an empty list.
        if (state.hotOrdersPageShown || state.openOrdersEmpty)
            return {};
        return run(key == HotKey::CtrlB ? HotKeyCommand::CloseCurrentOrder : HotKeyCommand::CloseOrderGroup);
    case HotKey::CtrlM:
        break;
    }
    return {};
}
