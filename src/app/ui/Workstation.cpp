#include "app/ui/Workstation.h"

#include "citymap/ui/TForm8.h"
#include "citymap/ui/TForm9.h"
#include "dispatch/AutoDistribution.h"
#include "dispatch/DataModuleWiring.h"
#include "dispatch/DriversOnAir.h"
#include "dispatch/HotOrders.h"
#include "dispatch/ListRefresh.h"
#include "dispatch/NearestStand.h"
#include "dispatch/WorkstationChecks.h"
#include "fleet/ui/TForm5.h"
#include "foundation/SettingKeys.h"
#include "foundation/StandQueue.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/HotOrderDetails.h"
#include "mainwindow/SecondTimer.h"
#include "mainwindow/ui/HotOrdersPage.h"
#include "mainwindow/ui/MainWindowActions.h"
#include "mainwindow/ui/TForm10.h"
#include "mainwindow/ui/TForm13.h"
#include "orders/intake/ui/TForm6.h"
#include "orders/intake/ui/TForm7.h"
#include "orders/maintenance/ui/TForm11.h"
#include "platform/BaseFolder.h"
#include "platform/ui/QtPrompts.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include <QApplication>

namespace {
IPrompts* promptsFor(IPrompts* given, std::unique_ptr<IPrompts>& own, QWidget* parent)
{
    if (given)
        return given;
    own = std::make_unique<QtPrompts>(parent);
    return own.get();
}
} // namespace

// The members are created in declaration order, which is the windows' fixed order: the
// settings window reads SETSERVER.INI when it is created, and the data module, created
// later, connects with what it holds.
Workstation::Workstation(IClock& clockToUse, IPrompts* givenPrompts)
    : prompts(*promptsFor(givenPrompts, ownPrompts, &form1)), form4(settings),
      form5(std::make_unique<TForm5>()), form6(std::make_unique<TForm6>()), form7(std::make_unique<TForm7>()),
      form8(std::make_unique<TForm8>()), form9(std::make_unique<TForm9>()),
      form10(std::make_unique<TForm10>()), form11(std::make_unique<TForm11>()), dani(settings, prompts),
      form13(std::make_unique<TForm13>()),
      clock(clockToUse), dispatch{dani, settings, prompts, clock, {}, false, {}, {}, {}}, map(dani, clock),
      shiftChange(dispatch, map, softphoneLine), commands(dispatch, carCardStands, [] { return false; })
{
    dani.setView(&form1);
    dani.ConnectDatabase();
    form1.setMessagesForm(&form12);
    WireDispatchIntoDataModule(dispatch);
    wireLists();
    wireWindows();
    wireShiftChange();
    wireTimer();
    wireCommands();
}

Workstation::~Workstation()
{
    timer.stop();
}

void Workstation::start()
{
    form1.show();
    if (dani.BAZA.isConnected())
        openShiftChange();
}

void Workstation::refreshShown()
{
    try {
        dani.refreshLists();
    } catch (const DbError& e) {
        prompts.message(e.message());
    }
}

void Workstation::wireLists()
{
    form1.attachLists(dispatch);
    form1.setDriversGroupVisible(settings.switchOn(SettingsStore::Switch::ActiveDriversTab));
    dani.refreshLists = [this] {
        RefreshLists(dispatch);
        form1.reloadLists();
    };
    QObject::connect(&form1, &TForm1::listsNeeded, &form1, [this] {
        refreshShown();
        if (form1.ordersPage() == DataModuleView::OrdersPage::Hot) {
            try {
                ListHotOrders(dispatch);
            } catch (const DbError& e) {
                prompts.message(e.message());
            }
        }
    });
    QObject::connect(&form1, &TForm1::periodChanged, &form1, [this] {
        dani.TABL_VIKON_ZAMOVL.close();
        dani.TABL_DELETE_ZAMOVL.close();
        refreshShown();
    });
    QObject::connect(&form1, &TForm1::hotOrderChosen, &form1,
                     [this](const QString& line) { chooseHotOrder(line); });
    QObject::connect(&form1, &TForm1::distributionRequested, &form1, [this] {
        try {
            DistributeHotOrders(dispatch, ListHotOrders(dispatch));
        } catch (const DbError& e) {
            prompts.message(e.message());
        }
    });
    form1.setGprsPanelVisible(settings.switchOn(SettingsStore::Switch::GprsMessagesTab));
    form1.setExtraDriversPanelVisible(settings.switchOn(SettingsStore::Switch::ExtraDriversPanel));
    QObject::connect(&settings, &SettingsStore::switchChanged, &form1,
                     [this](SettingsStore::Switch which, bool on) {
                         switch (which) {
                         case SettingsStore::Switch::ActiveDriversTab:
                             form1.setDriversGroupVisible(on);
                             break;
                         case SettingsStore::Switch::GprsMessagesTab:
                             form1.setGprsPanelVisible(on);
                             break;
                         case SettingsStore::Switch::ExtraDriversPanel:
                             form1.setExtraDriversPanelVisible(on);
                             break;
                         }
                         if (on && which != SettingsStore::Switch::GprsMessagesTab)
                             refreshShown();
                     });
}

void Workstation::chooseHotOrder(const QString& line)
{
    try {
        const auto number = HotOrderDetails::numberOfLine(line);
        const auto details = number ? HotOrderDetails::load(dispatch, *number) : std::nullopt;
        if (!details) {
            form1.clearHotOrderDetails();
            return;
        }
        form1.hotPage()->showDetails(*details);
        if (details->pickup.isEmpty()) {
            dani.NearestStand.clear();
            form1.showHotNearestStand(TDANI::kNotSet, TDANI::kNotSet);
        } else {
            dani.NearestStand = FindNearestStand(dispatch, details->pickup, DistributionMode::kNone);
            if (dani.NearestStand.isEmpty()) {
                form1.showHotNearestStand(TDANI::kNotSet, TDANI::kNotSet);
            } else if (dani.NearestStand != form1.shownHotNearestStand()) {
                const auto driver = FirstFreeDriverAtStand(dani.RIZNE_EVENTS, dani.NearestStand);
                dani.TRANZ_FOR_EVENTS.commitIfActive();
                form1.showHotNearestStand(dani.NearestStand,
                                          driver ? QString::number(*driver) : TDANI::kNotSet);
            }
        }
        form1.repaintStandGrid();
    } catch (const DbError& e) {
        prompts.message(e.message());
    }
}

void Workstation::wireWindows()
{
    // The main window is disabled while the settings window is shown.
    QObject::connect(&form1, &TForm1::settingsRequested, &form4, [this] {
        form1.setEnabled(false);
        form4.show();
    });
    QObject::connect(&form4, &FormShell::closed, &form1, [this] {
        form1.setEnabled(true);
        refreshShown();
    });
    // The work analysis file opens in whatever the desktop opens spreadsheets with.
    QObject::connect(&form4, &TForm4::openAnalysisFileRequested, &form4, [] {
        const QString file = BaseFolder::file(QStringLiteral("ANALIZTAXI.XLS"));
        if (QFile::exists(file))
            QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    });
    // Once somebody is logged in the window stays while the database is there.
    form1.closeGuard = [this] {
        if (!dani.BAZA.isConnected())
            return true;
        CheckDatabaseLink(dispatch, [] { QApplication::exit(1); });
        prompts.message(QStringLiteral("Немає можливості закрити програму, так як є ймовірність того що є "
                                       "невіддані або не закритті замовлення і "
                                       "активні водії в ефірі !!!\rЯКЩО ПЛАНУЄТЕ ЗАКРИТИ ЧЕРЕЗ ДИСПЕТЧЕР "
                                       "ЗАДАЧ І У ВИПАДКУ ВІДКРИТОГО SIP ОПЕРАТОРА - "
                                       "ЗАКРИЙТЕ ЗЄДНАННЯ ДАНОГО ОПЕРАТОРА !!!"));
        return false;
    };
}

void Workstation::openShiftChange()
{
    form1.setEnabled(false);
    try {
        form3.setNames(shiftChange.dispatcherNames());
    } catch (const DbError& e) {
        prompts.message(e.message());
    }
    form3.clearFields();
    form3.show();
}

void Workstation::wireShiftChange()
{
    QObject::connect(&form1, &TForm1::shiftChangeRequested, &form3, [this] { openShiftChange(); });
    QObject::connect(&form3, &TForm3::logInRequested, &form3,
                     [this](const QString& name, const QString& password) {
                         const ShiftChangeController::Outcome outcome = shiftChange.logIn(name, password);
                         form3.clearFields();
                         if (!outcome.loggedIn)
                             return;
                         form1.applyLogIn(name, outcome.rights);
                         actions->applyRights(outcome.rights);
                         if (outcome.period)
                             form1.setPeriod(outcome.period->from, outcome.period->to);
                         form3.close();
                     });
    // Closing the shift change while nobody is logged in ends the program.
    QObject::connect(&form3, &FormShell::closed, &form1, [this] {
        if (!form1.loggedIn()) {
            form1.close();
            return;
        }
        form1.setEnabled(true);
        refreshShown();
    });
}

void Workstation::wireTimer()
{
    SecondTimer::Jobs jobs;
    jobs.checkDatabaseLink = [this] { return CheckDatabaseLink(dispatch, [] { QApplication::exit(1); }); };
    jobs.autoResetMarks = [this] { return commands.marks().autoUpdate(); };
    jobs.resetMarks = [this] { commands.marks().resetBothMarks(); };
    jobs.analysisAllowed = [this] { return settings.flag(SettingKeys::kAnalysisAllowed); };
    jobs.hotPageShown = [this] {
        return form1.mainTabs()->currentIndex() == 0 && form1.ordersPage() == DataModuleView::OrdersPage::Hot;
    };
    jobs.listHotOrders = [this] {
        try {
            ListHotOrders(dispatch);
        } catch (const DbError& e) {
            prompts.message(e.message());
        }
    };
    jobs.showClock = [this] { form1.showClock(clock.now()); };
    secondTimer = std::make_unique<SecondTimer>(std::move(jobs));
    timer.setInterval(1000);
    QObject::connect(&timer, &QTimer::timeout, &form1, [this] { secondTimer->tick(); });
    timer.start();
}

void Workstation::wireCommands()
{
    actions = std::make_unique<MainWindowActions>(
        dispatch, commands, form1, DeskWindows{form2, *form5, *form8, *form10, *form11, form12, *form13});
    for (FormShell* window : {static_cast<FormShell*>(&form2), static_cast<FormShell*>(form10.get()),
                              static_cast<FormShell*>(form11.get())})
        makeTaskWindow(*window);
}

void Workstation::makeTaskWindow(FormShell& window)
{
    QObject::connect(&window, &FormShell::shown, &form1, [this] { form1.setEnabled(false); });
    QObject::connect(&window, &FormShell::closed, &form1, [this] {
        form1.setEnabled(true);
        refreshShown();
    });
}
