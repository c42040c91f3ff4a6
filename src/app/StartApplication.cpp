#include "app/StartApplication.h"

#include "citymap/ui/TForm8.h"
#include "citymap/ui/TForm9.h"
#include "fleet/ui/TForm5.h"
#include "citymap/CityMapData.h"
#include "dispatch/DataModuleWiring.h"
#include "dispatch/ListRefresh.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/ShiftChangeController.h"
#include "mainwindow/SoftphoneLine.h"
#include "foundation/ui/TForm4.h"
#include "mainwindow/ui/TForm1.h"
#include "mainwindow/ui/TForm10.h"
#include "mainwindow/ui/TForm12.h"
#include "mainwindow/ui/TForm13.h"
#include "mainwindow/ui/TForm3.h"
#include "orders/intake/ui/TForm2.h"
#include "orders/intake/ui/TForm6.h"
#include "orders/intake/ui/TForm7.h"
#include "orders/maintenance/ui/TForm11.h"
#include "platform/Clock.h"
#include "platform/ui/QtPrompts.h"

#include <QApplication>

int StartApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The title of message boxes; the main window keeps its own caption.
    QApplication::setApplicationName(QStringLiteral("Диспетчер \"ZORvane - TAXI\" ver 3.2"));

    SettingsStore settings;
    // The order matters: the settings window reads SETSERVER.INI when it is created,
    // and the data module, created later, connects with what it holds.
    TForm1 form1;
    QtPrompts prompts(&form1);
    TForm2 form2;
    TForm3 form3;
    TForm4 form4(settings);
    TForm5 form5;
    TForm6 form6;
    TForm7 form7;
    TForm8 form8;
    TForm9 form9;
    TForm10 form10;
    TForm11 form11;
    TDANI dani(settings, prompts);
    dani.setView(&form1);
    dani.ConnectDatabase();
    SystemClock clock;
    DispatchContext dispatch{dani, settings, prompts, clock, {}, false, {}, {}, {}};
    WireDispatchIntoDataModule(dispatch);
    TForm12 form12;
    TForm13 form13;
    form1.setMessagesForm(&form12);

    CityMapData map(dani, clock);
    NoSoftphoneLine line; // until the softphone panel takes the dispatcher's line
    ShiftChangeController shiftChange(dispatch, map, line);
    form1.attachLists(dani);
    form1.setDriversGroupVisible(settings.switchOn(SettingsStore::Switch::ActiveDriversTab));
    dani.refreshLists = [&] {
        RefreshLists(dispatch);
        form1.reloadLists();
    };
    auto refreshShown = [&] {
        try {
            dani.refreshLists();
        } catch (const DbError& e) {
            prompts.message(e.message());
        }
    };
    QObject::connect(&form1, &TForm1::listsNeeded, &form1, refreshShown);
    QObject::connect(&settings, &SettingsStore::switchChanged, &form1, [&](SettingsStore::Switch which, bool on) {
        if (which == SettingsStore::Switch::ActiveDriversTab) {
            form1.setDriversGroupVisible(on);
            if (on)
                refreshShown();
        }
    });

    // The main window is disabled while the settings window is shown.
    QObject::connect(&form1, &TForm1::settingsRequested, &form4, [&] {
        form1.setEnabled(false);
        form4.show();
    });
    QObject::connect(&form4, &FormShell::closed, &form1, [&] { form1.setEnabled(true); });

    // The shift change: the log-in of the workstation.
    auto openShiftChange = [&] {
        form1.setEnabled(false);
        try {
            form3.setNames(shiftChange.dispatcherNames());
        } catch (const DbError& e) {
            prompts.message(e.message());
        }
        form3.clearFields();
        form3.show();
    };
    QObject::connect(&form1, &TForm1::shiftChangeRequested, &form3, openShiftChange);
    QObject::connect(&form3, &TForm3::logInRequested, &form3, [&](const QString& name, const QString& password) {
        const ShiftChangeController::Outcome outcome = shiftChange.logIn(name, password);
        form3.clearFields();
        if (!outcome.loggedIn)
            return;
        form1.applyLogIn(name, outcome.rights);
        if (outcome.period)
            form1.setPeriod(outcome.period->from, outcome.period->to);
        form3.close();
    });
    // Closing the shift change while nobody is logged in ends the program.
    QObject::connect(&form3, &FormShell::closed, &form1, [&] {
        if (!form1.loggedIn()) {
            form1.close();
            return;
        }
        form1.setEnabled(true);
        refreshShown();
    });

    form1.show();
    if (dani.BAZA.isConnected())
        openShiftChange();
    return app.exec();
}
