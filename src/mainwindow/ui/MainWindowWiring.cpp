#include "mainwindow/ui/MainWindowWiring.h"

#include "dispatch/AutoDistribution.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/HotOrders.h"
#include "dispatch/ListRefresh.h"
#include "dispatch/NearestStandDisplay.h"
#include "dispatch/WorkstationChecks.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "foundation/ui/TForm4.h"
#include "mainwindow/HotOrderDetails.h"
#include "mainwindow/MainWindowCommands.h"
#include "mainwindow/SecondTimer.h"
#include "mainwindow/ShiftChangeController.h"
#include "mainwindow/WorkAnalysisLog.h"
#include "mainwindow/ui/DriversPanel.h"
#include "mainwindow/ui/HotOrdersPage.h"
#include "mainwindow/ui/MainWindowActions.h"
#include "mainwindow/ui/TForm1.h"
#include "mainwindow/ui/TForm12.h"
#include "mainwindow/ui/TForm3.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>

MainWindowWiring::MainWindowWiring(const Windows& windows, const Logic& logic, QObject* parent)
    : QObject(parent), m_form1(windows.main), m_form3(windows.shiftChange), m_form4(windows.settings),
      m_form12(windows.messages), m_orderForm(windows.orderForm), m_carCard(windows.carCard),
      m_cityMap(windows.cityMap), m_blackList(windows.blackList), m_maintenance(windows.maintenance),
      m_hotKeys(windows.hotKeys), m_dispatch(logic.dispatch), m_settings(logic.dispatch.settings),
      m_prompts(logic.dispatch.prompts), m_clock(logic.dispatch.clock), m_shiftChange(logic.shiftChange),
      m_commands(logic.commands), m_nearestStand(logic.nearestStand), m_programExit(logic.programExit),
      m_orderFormController(logic.orderForm), m_cityMapController(logic.cityMap),
      m_maintenanceController(logic.maintenance), m_carCardController(logic.carCard),
      m_softphone(logic.softphone), m_workLog(std::make_unique<WorkAnalysisLog>(logic.dispatch))
{
    m_dispatch.dani.setMessagesView(&m_form12);
    wireLists();
    wireWindows();
    wireShiftChange();
    wireTimer();
    wireCommands();
}

MainWindowWiring::~MainWindowWiring()
{
    m_timer.stop();
}

void MainWindowWiring::refreshShown()
{
    guarded([this] {
        RefreshLists(m_dispatch);
        m_form1.reloadLists();
    });
}

void MainWindowWiring::wireLists()
{
    m_form1.attachLists(m_dispatch);
    m_form1.setDriversGroupVisible(m_settings.switchOn(SettingsStore::Switch::ActiveDriversTab));
    connect(&m_dispatch.dani, &TDANI::listsClosed, this, &MainWindowWiring::refreshShown);
    connect(&m_form1, &TForm1::listsNeeded, this, [this] {
        refreshShown();
        if (m_form1.ordersPage() == DataModuleView::OrdersPage::Hot) {
            try {
                ListHotOrders(m_dispatch);
            } catch (const DbError& e) {
                m_prompts.message(e.message());
            }
        }
    });
    connect(&m_form1, &TForm1::periodChanged, this, [this] {
        m_dispatch.dani.TABL_VIKON_ZAMOVL.close();
        m_dispatch.dani.TABL_DELETE_ZAMOVL.close();
        refreshShown();
    });
    connect(&m_form1, &TForm1::hotOrderChosen, this, [this](const QString& line) { chooseHotOrder(line); });
    connect(&m_form1, &TForm1::distributionRequested, this, [this] {
        try {
            DistributeHotOrders(m_dispatch, ListHotOrders(m_dispatch));
        } catch (const DbError& e) {
            m_prompts.message(e.message());
        }
    });
    m_form1.setGprsPanelVisible(m_settings.switchOn(SettingsStore::Switch::GprsMessagesTab));
    m_form1.setExtraDriversPanelVisible(m_settings.switchOn(SettingsStore::Switch::ExtraDriversPanel));
    connect(&m_settings, &SettingsStore::switchChanged, this, [this](SettingsStore::Switch which, bool on) {
        switch (which) {
        case SettingsStore::Switch::ActiveDriversTab:
            m_form1.setDriversGroupVisible(on);
            break;
        case SettingsStore::Switch::GprsMessagesTab:
            m_form1.setGprsPanelVisible(on);
            break;
        case SettingsStore::Switch::ExtraDriversPanel:
            m_form1.setExtraDriversPanelVisible(on);
            break;
        }
        if (on && which != SettingsStore::Switch::GprsMessagesTab)
            refreshShown();
    });
}

void MainWindowWiring::chooseHotOrder(const QString& line)
{
    try {
        const auto number = HotOrderDetails::numberOfLine(line);
        const auto details = number ? HotOrderDetails::load(m_dispatch, *number) : std::nullopt;
        if (!details) {
            m_form1.hotPage()->clearHotOrderDetails();
            return;
        }
        m_form1.hotPage()->showDetails(*details);
        m_nearestStand.showForHotOrder(details->pickup);
        m_form1.driversPanel()->repaintStandGrid();
    } catch (const DbError& e) {
        m_prompts.message(e.message());
    }
}

void MainWindowWiring::wireWindows()
{
    // The main window is disabled while the settings window is shown.
    connect(&m_form1, &TForm1::settingsRequested, &m_form4, [this] {
        m_form1.setEnabled(false);
        m_form4.show();
    });
    connect(&m_form4, &FormShell::closed, this, [this] {
        m_form1.setEnabled(true);
        refreshShown();
    });
    // Pending window messages run first, as the scheduled record lets them.
    connect(&m_form4, &TForm4::forcedAnalysisRequested, &m_form4, [this] {
        QCoreApplication::processEvents();
        m_workLog->writeAnalysisRecord();
    });
    // The work analysis file opens in whatever the desktop opens spreadsheets with.
    connect(&m_form4, &TForm4::openAnalysisFileRequested, &m_form4, [] {
        const QString file = BaseFolder::file(QStringLiteral("ANALIZTAXI.XLS"));
        if (QFile::exists(file))
            QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    });
    // Once somebody is logged in the window stays while the database is there; without
    // it the program is ending anyway.
    connect(&m_form1, &TForm1::closeRefusedOnShift, this, [this] {
        if (!m_dispatch.dani.BAZA.isConnected() || !CheckDatabaseLink(m_dispatch, m_programExit)) {
            m_form1.allowClose();
            m_form1.close();
            return;
        }
        m_prompts.message(QStringLiteral("Немає можливості закрити програму, так як є ймовірність того що є "
                                         "невіддані або не закритті замовлення і "
                                         "активні водії в ефірі !!!\rЯКЩО ПЛАНУЄТЕ ЗАКРИТИ ЧЕРЕЗ ДИСПЕТЧЕР "
                                         "ЗАДАЧ І У ВИПАДКУ ВІДКРИТОГО SIP ОПЕРАТОРА - "
                                         "ЗАКРИЙТЕ ЗЄДНАННЯ ДАНОГО ОПЕРАТОРА !!!"));
    });
}

void MainWindowWiring::openShiftChange()
{
    m_form1.setEnabled(false);
    try {
        m_form3.setNames(m_shiftChange.dispatcherNames());
    } catch (const DbError& e) {
        m_prompts.message(e.message());
    }
    m_form3.clearFields();
    m_form3.show();
}

void MainWindowWiring::wireShiftChange()
{
    connect(&m_form1, &TForm1::shiftChangeRequested, &m_form3, [this] { openShiftChange(); });
    connect(&m_shiftChange, &ShiftChangeController::loadProgress, &m_form3, &TForm3::showProgress);
    connect(&m_form3, &TForm3::logInRequested, &m_form3,
            [this](const QString& name, const QString& password) {
                const ShiftChangeController::Outcome outcome = m_shiftChange.logIn(name, password);
                m_form3.clearFields();
                if (outcome.loggedOut) {
                    // Nobody is on shift: the desk shows no dispatcher and grants nothing,
                    // and closing the shift change ends the program.
                    m_form1.applyLogIn(TForm1::kNobodyLoggedIn, DispatcherRights{});
                    m_actions->applyRights(DispatcherRights{});
                    return;
                }
                if (!outcome.loggedIn)
                    return;
                m_form1.applyLogIn(name, outcome.rights);
                m_actions->applyRights(outcome.rights);
                if (outcome.period)
                    m_form1.setPeriod(outcome.period->from, outcome.period->to);
                m_form1.showPeriodTimes(outcome.rollCallLabel);
                m_form3.close();
            });
    // Closing the shift change while nobody is logged in ends the program.
    connect(&m_form3, &FormShell::closed, this, [this] {
        if (!m_form1.loggedIn()) {
            m_form1.close();
            return;
        }
        m_form1.setEnabled(true);
        refreshShown();
    });
}

void MainWindowWiring::wireTimer()
{
    SecondTimer::Jobs jobs;
    jobs.checkDatabaseLink = [this] { return CheckDatabaseLink(m_dispatch, m_programExit); };
    jobs.autoResetMarks = [this] { return m_commands.marks().autoUpdate(); };
    jobs.resetMarks = [this] { m_commands.marks().resetBothMarks(); };
    jobs.analysisAllowed = [this] { return m_settings.flag(SettingKeys::kAnalysisAllowed); };
    jobs.checkAnalysisSchedule = [this] { m_workLog->checkSchedule(); };
    jobs.hotPageShown = [this] {
        return m_form1.mainTabs()->currentIndex() == 0 &&
               m_form1.ordersPage() == DataModuleView::OrdersPage::Hot;
    };
    jobs.listHotOrders = [this] {
        try {
            ListHotOrders(m_dispatch);
        } catch (const DbError& e) {
            m_prompts.message(e.message());
        }
    };
    jobs.showClock = [this] { m_form1.showClock(m_clock.now()); };
    m_secondTimer = std::make_unique<SecondTimer>(std::move(jobs));
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_secondTimer->tick(); });
    m_timer.start();
}

void MainWindowWiring::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const DbError& e) {
        m_prompts.message(e.message());
    }
}

void MainWindowWiring::wireCommands()
{
    m_actions = std::make_unique<MainWindowActions>(
        m_dispatch, m_commands, m_form1,
        DeskWindows{m_orderForm, m_carCard, m_cityMap, m_blackList, m_maintenance, m_form12, m_hotKeys},
        m_orderFormController, m_cityMapController, m_maintenanceController, m_carCardController,
        m_softphone);
    for (FormShell* window : {&m_orderForm, &m_blackList, &m_maintenance})
        makeTaskWindow(*window);
}

void MainWindowWiring::makeTaskWindow(FormShell& window)
{
    connect(&window, &FormShell::shown, this, [this] { m_form1.setEnabled(false); });
    connect(&window, &FormShell::closed, this, [this] {
        m_form1.setEnabled(true);
        refreshShown();
    });
}
