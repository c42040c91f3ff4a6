#pragma once

#include "citymap/CityMapData.h"
#include "citymap/window/MapWindowController.h"
#include "dispatch/DataModuleWiring.h"
#include "dispatch/DispatchContext.h"
#include "fleet/CarCard.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "foundation/ui/TForm4.h"
#include "mainwindow/BlackListController.h"
#include "mainwindow/DispatcherMessages.h"
#include "mainwindow/MainWindowCommands.h"
#include "mainwindow/ShiftChangeController.h"
#include "mainwindow/ui/MainWindowWiring.h"
#include "mainwindow/ui/TForm1.h"
#include "mainwindow/ui/TForm12.h"
#include "mainwindow/ui/TForm3.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/SoftphonePanel.h"
#include "orders/intake/WebRouteController.h"
#include "orders/intake/ui/OrderFormWiring.h"
#include "orders/intake/ui/SoftphoneWiring.h"
#include "orders/intake/ui/TForm2.h"
#include "orders/maintenance/OrderMaintenanceController.h"
#include "platform/Clock.h"

#include <memory>

class AudioSystem;
class IPrompts;
class IProgramExit;
class IShellOpen;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm13;

// The whole workstation: every window and the data module, created once in their fixed
// order, and the wiring between them. main() runs its event loop; tests drive it offscreen.
class Workstation
{
public:
    // prompts: the dialogs to use (the message boxes of the main window when null).
    // exit: how the program ends (the event loop's exit when null).
    // shell: what opens web addresses (the desktop's browser when null).
    // audio: the sound devices of the telephone (the system's through Qt when null).
    explicit Workstation(IClock& clock, IPrompts* prompts = nullptr, IProgramExit* exit = nullptr,
                         IShellOpen* shell = nullptr, AudioSystem* audio = nullptr);
    ~Workstation();

    // Shows the main window and, with a database, the shift change; without one the
    // program ends (the connection failure was already shown).
    void start();

    SettingsStore settings;
    TForm1 form1;
    std::unique_ptr<IPrompts> ownPrompts;
    IPrompts& prompts;
    std::unique_ptr<IProgramExit> ownExit;
    IProgramExit& programExit;
    std::unique_ptr<IShellOpen> ownShell;
    IShellOpen& shellOpen;
    std::unique_ptr<AudioSystem> ownAudio;
    AudioSystem& audio;
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm7> form7;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TForm9> form9;
    std::unique_ptr<TForm11> form11;
    TDANI dani;
    TForm12 form12;
    std::unique_ptr<TForm13> form13;

    IClock& clock;
    CityMapData map;
    DispatchContext dispatch;
    // The order form's controller comes before the telephone, which opens the form on a
    // caller, and the telephone before the log-in, which hands it the dispatcher's line.
    OrderFormController orderForm; // the order form's state and commands
    SoftphonePanel softphone;      // the dispatcher's telephone
    ShiftChangeController shiftChange;
    CarCard carCard; // the car card's state and commands, also the stands contract of Ctrl+Del
    MainWindowCommands commands;
    DispatcherMessages dispatcherMessages; // the chat of the messages window
    MapWindowController mapWindow;         // the city map window's state and commands

    // One wiring per subsystem.
    DataModuleWiring dataModuleWiring;
    WebRouteController webRoute;            // its web distance and browser route
    OrderMaintenanceController maintenance; // the order maintenance window's
    BlackListController blackList;
    std::unique_ptr<TForm10> form10; // over the black list's state and commands
    MainWindowWiring mainWindow;
    OrderFormWiring orderFormWiring;
    SoftphoneWiring softphoneWiring; // the strip and options go to form1, the page to form2
};
