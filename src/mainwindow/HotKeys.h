#pragma once

#include <QString>

// The main window's eight hot keys: which command a key runs in the window's present
// state, or which message it shows instead. Decided without the window, so the rules
// are tested on their own.
enum class HotKey { Ins, Del, CtrlIns, CtrlDel, CtrlV, CtrlB, CtrlN, CtrlM };

enum class HotKeyCommand {
    None,
    ShowMessage,
    PutDriverOnAir,             // asks for a callsign
    TakeDriverOffAir,           // the current driver (drivers page)
    TakeStandDriverOffAir,      // a callsign of the selected stand (stand page)
    SendMessageToDriver,        // the current driver
    RemoveDriverFromStand,      // the current driver (drivers page)
    RemoveStandDriverFromStand, // a callsign of the selected stand (stand page)
    NewUncodedOrder,
    CloseCurrentOrder,
    CloseOrderGroup,
    NextOrdersPage,
};

struct HotKeyState
{
    bool loggedIn = false;
    int mainTab = 0;              // 0 active orders, 1 executed, 2 deleted
    bool driversPageShown = true; // the drivers group shows the full list, not the stands
    bool hotOrdersPageShown = false;
    bool openOrdersEmpty = true;
    // A one-line text box (the dial box, a search box) has the focus: the keys that
    // also edit text (Ins, Del, Ctrl+Ins copy, Ctrl+Del, Ctrl+V paste) stay with it.
    bool editBoxFocused = false;
};

struct HotKeyAction
{
    HotKeyCommand command = HotKeyCommand::None;
    QString message; // for ShowMessage
};

HotKeyAction resolveHotKey(HotKey key, const HotKeyState& state);
