#include "mainwindow/ui/MainWindowWiring.h"

#include "dispatch/AutoDistribution.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/DriversOnAir.h"
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
#include "mainwindow/ui/HotOrdersPage.h"
#include "mainwindow/ui/TForm1.h"
#include "mainwindow/ui/TForm12.h"
#include "mainwindow/ui/TForm3.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
#include <QUrl>

MainWindowWiring::MainWindowWiring(const Windows& windows, const Logic& logic, QObject* parent)
    : QObject(parent), m_form1(windows.main), m_form3(windows.shiftChange), m_form4(windows.settings),
      m_form12(windows.messages), m_orderForm(windows.orderForm), m_carCard(windows.carCard),
      m_cityMap(windows.cityMap), m_blackList(windows.blackList), m_maintenance(windows.maintenance),
      m_hotKeys(windows.hotKeys), m_dispatch(logic.dispatch), m_settings(logic.dispatch.settings),
      m_prompts(logic.dispatch.prompts), m_clock(logic.dispatch.clock), m_shiftChange(logic.shiftChange),
      m_commands(logic.commands), m_nearestStand(logic.nearestStand)
{
    m_form1.setMessagesForm(&m_form12);
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
            m_form1.clearHotOrderDetails();
            return;
        }
        m_form1.hotPage()->showDetails(*details);
        m_nearestStand.showForHotOrder(details->pickup);
        m_form1.repaintStandGrid();
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
    // The work analysis file opens in whatever the desktop opens spreadsheets with.
    connect(&m_form4, &TForm4::openAnalysisFileRequested, &m_form4, [] {
        const QString file = BaseFolder::file(QStringLiteral("ANALIZTAXI.XLS"));
        if (QFile::exists(file))
            QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    });
    // Once somebody is logged in the window stays while the database is there.
    m_form1.closeGuard = [this] {
        if (!m_dispatch.dani.BAZA.isConnected())
            return true;
        CheckDatabaseLink(m_dispatch, [] { QApplication::exit(1); });
        m_prompts.message(QStringLiteral("Немає можливості закрити програму, так як є ймовірність того що є "
                                         "невіддані або не закритті замовлення і "
                                         "активні водії в ефірі !!!\rЯКЩО ПЛАНУЄТЕ ЗАКРИТИ ЧЕРЕЗ ДИСПЕТЧЕР "
                                         "ЗАДАЧ І У ВИПАДКУ ВІДКРИТОГО SIP ОПЕРАТОРА - "
                                         "ЗАКРИЙТЕ ЗЄДНАННЯ ДАНОГО ОПЕРАТОРА !!!"));
        return false;
    };
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
    connect(&m_form3, &TForm3::logInRequested, &m_form3,
            [this](const QString& name, const QString& password) {
                const ShiftChangeController::Outcome outcome = m_shiftChange.logIn(name, password);
                m_form3.clearFields();
                if (!outcome.loggedIn)
                    return;
                m_form1.applyLogIn(name, outcome.rights);
                if (outcome.period)
                    m_form1.setPeriod(outcome.period->from, outcome.period->to);
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
    jobs.checkDatabaseLink = [this] { return CheckDatabaseLink(m_dispatch, [] { QApplication::exit(1); }); };
    jobs.autoResetMarks = [this] { return m_commands.marks().autoUpdate(); };
    jobs.resetMarks = [this] { m_commands.marks().resetBothMarks(); };
    jobs.analysisAllowed = [this] { return m_settings.flag(SettingKeys::kAnalysisAllowed); };
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
    QToolBar* tools = m_form1.driverTools();
    auto add = [&](const QString& text, const QString& hint, const std::function<void()>& command) {
        QAction* action = tools->addAction(text);
        action->setToolTip(hint);
        connect(action, &QAction::triggered, this, [this, command] { guarded(command); });
        return action;
    };
    add(QStringLiteral("В ефір"), QStringLiteral("Відкриття автомобіля у ефір (Ins)"),
        [this] { runHotKey(HotKey::Ins); });
    add(QStringLiteral("З ефіру"), QStringLiteral("Зняти водія з ефіру (Del)"),
        [this] { runHotKey(HotKey::Del); });
    add(QStringLiteral("Зі стоянки"), QStringLiteral("Зняти водія зі стоянки (Ctrl+Del)"),
        [this] { runHotKey(HotKey::CtrlDel); });
    add(QStringLiteral("Повідомлення"), QStringLiteral("Відправити текстове повідомлення водію (Ctrl+Ins)"),
        [this] { runHotKey(HotKey::CtrlIns); });

    // The drivers grid's menu: filters and marks.
    QTableView* driversGrid = m_form1.grid(TForm1::Drivers);
    driversGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(driversGrid, &QWidget::customContextMenuRequested, this, [this, driversGrid](const QPoint& at) {
        QMenu menu;
        const QList<QPair<QString, DriversFilter::Kind>> filters = {
            {QStringLiteral("Загальний список"), DriversFilter::Kind::All},
            {QStringLiteral("Відібрати вільних водіїв"), DriversFilter::Kind::Free},
            {QStringLiteral("Відібрати вільних водіїв які зареєстровані на стоянках"),
             DriversFilter::Kind::FreeAtStands}};
        for (const auto& [text, kind] : filters) {
            QAction* action = menu.addAction(text);
            action->setCheckable(true);
            action->setChecked(m_commands.driversFilter().checked() == kind);
            connect(action, &QAction::triggered, this, [this, kind = kind] {
                guarded([&] { m_commands.driversFilter().choose(kind); });
                m_form1.reloadLists();
            });
        }
        menu.addSeparator();
        if (m_commands.marks().resetItemsVisible()) {
            connect(menu.addAction(QStringLiteral("Обнулити помітку ювілейної поїздки (якщо прийшов час)")),
                    &QAction::triggered, this, [this] { m_commands.marks().resetJubileeMarks(); });
            connect(menu.addAction(QStringLiteral("Обнулити помітку перекриття поїздки (якщо прийшов час)")),
                    &QAction::triggered, this, [this] { m_commands.marks().resetRefusalMarks(); });
        }
        QAction* autoUpdate = menu.addAction(QStringLiteral("Автоматичне обновлення поміток"));
        autoUpdate->setCheckable(true);
        autoUpdate->setChecked(m_commands.marks().autoUpdate());
        connect(autoUpdate, &QAction::triggered, this, [this] { m_commands.marks().toggleAutoUpdate(); });
        connect(menu.addAction(QStringLiteral("Відправити текстове повідомлення водію")), &QAction::triggered,
                this, [this] { m_commands.messages().sendToCurrentDriver(); });
        menu.exec(driversGrid->viewport()->mapToGlobal(at));
    });

    // The two open-order filter toggles.
    const QList<std::tuple<QString, QString, OpenOrderFilters::Toggle>> toggles = {
        {QStringLiteral("До роздачі"),
         QStringLiteral("Показ списку замовлень яким час роздачи і попередні замовлення"),
         OpenOrderFilters::Toggle::ToHandOut},
        {QStringLiteral("У виконанні"), QStringLiteral("Показ списку замовлень у виконані водіями"),
         OpenOrderFilters::Toggle::Carried}};
    for (const auto& [text, hint, which] : toggles) {
        QAction* action = m_form1.orderTools()->addAction(text);
        action->setToolTip(hint);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, which = which] {
            OpenOrderFilters& filters = m_commands.orderFilters();
            m_form1.setOrderFilters(filters.pressed(OpenOrderFilters::Toggle::ToHandOut) !=
                                        (which == OpenOrderFilters::Toggle::ToHandOut),
                                    filters.pressed(OpenOrderFilters::Toggle::Carried) !=
                                        (which == OpenOrderFilters::Toggle::Carried));
            guarded([&] { filters.flip(which); });
            m_form1.reloadLists();
        });
    }

    connect(&m_form1, &TForm1::sortRequested, this, [this](int model, const QString& field) {
        FbDataSet* lists[] = {
            nullptr, &m_dispatch.dani.TABL_ZADIANI_AVTO, nullptr,
            nullptr, &m_dispatch.dani.TABL_VIKON_ZAMOVL, &m_dispatch.dani.TABL_DELETE_ZAMOVL};
        if (model < 0 || model > 5 || !lists[model] || field.isEmpty())
            return;
        guarded([&] { m_commands.sorting().sortBy(*lists[model], field); });
        m_form1.reloadLists();
    });
    connect(&m_form1, &TForm1::gridDoubleClicked, this, [this](int model) {
        if (model == TForm1::GprsActions)
            m_commands.gprsDetails().showCurrentAction();
    });
    connect(&m_form1, &TForm1::hotKeyPressed, this, [this](HotKey key) { runHotKey(key); });

    // The windows of later work open as they are.
    const QList<QPair<QString, QWidget*>> windows = {
        {QStringLiteral("Нове замовлення"), &m_orderForm},
        {QStringLiteral("Редагування замовлення"), &m_maintenance},
        {QStringLiteral("Чорний список"), &m_blackList},
        {QStringLiteral("Карта міста"), &m_cityMap},
        {QStringLiteral("Повідомлення диспетчерам"), &m_form12},
        {QStringLiteral("Гарячі клавіші"), &m_hotKeys}};
    for (const auto& [text, window] : windows)
        connect(m_form1.bottomTools()->addAction(text), &QAction::triggered, window, &QWidget::show);
    for (FormShell* window : {static_cast<FormShell*>(&m_orderForm), static_cast<FormShell*>(&m_blackList),
                              static_cast<FormShell*>(&m_maintenance)})
        makeTaskWindow(*window);
    wireOrderMenus();
}

void MainWindowWiring::addGridMenu(int model, const std::function<void(QMenu&)>& fill)
{
    QTableView* grid = m_form1.grid(model);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [grid, fill](const QPoint& at) {
        QMenu menu;
        fill(menu);
        menu.exec(grid->viewport()->mapToGlobal(at));
    });
}

void MainWindowWiring::wireOrderMenus()
{
    auto item = [this](QMenu& menu, const QString& text, const std::function<void()>& command) {
        connect(menu.addAction(text), &QAction::triggered, this, [this, command] { guarded(command); });
    };
    auto showCarCard = [this](std::optional<qint64> callsign) {
        if (callsign) {
            ShowDriverDetails(m_dispatch, *callsign);
            m_carCard.show();
        }
    };
    addGridMenu(TForm1::OpenOrders, [this, item, showCarCard](QMenu& menu) {
        item(menu, QStringLiteral("Створити нове замовлення"), [this] { m_orderForm.show(); });
        item(menu, QStringLiteral("Відкрити карточку водія"),
             [this, showCarCard] { showCarCard(m_commands.openers().driverCardForOrder()); });
        item(menu, QStringLiteral("Відкрити карточку клієнта"), [this] {
            if (m_commands.openers().clientCardForOrder())
                m_orderForm.show();
        });
        item(menu, QStringLiteral("Редагувати / закрити вибране вибране замовлення"),
             [this] { m_maintenance.show(); });
        item(menu, QStringLiteral("Знищення вибраного замовлення"), [this] { m_maintenance.show(); });
        item(menu, QStringLiteral("Відправити текстове повідомлення водію"),
             [this] { m_commands.messages().sendToOrderDriver(); });
        QMenu* filters = menu.addMenu(QStringLiteral("У таблицю перегляду добавити замовлення ..."));
        for (QAction* toggle : m_form1.orderTools()->actions()) {
            QAction* mirror = filters->addAction(toggle->toolTip());
            mirror->setCheckable(true);
            mirror->setChecked(toggle->isChecked());
            connect(mirror, &QAction::triggered, toggle, &QAction::trigger);
        }
    });
    addGridMenu(TForm1::Executed, [this, item](QMenu& menu) {
        item(menu, QStringLiteral("Редагувати / закрити вибране вибране замовлення"),
             [this] { m_maintenance.show(); });
        item(menu, QStringLiteral("Знищення вибраного замовлення"), [this] { m_maintenance.show(); });
        item(menu,
             QStringLiteral("Показати на карті початковий пункт або кінцевий пункт (при вказаних даних)"),
             [this] {
                 if (m_commands.openers().executedPointOnMap())
                     m_cityMap.show();
             });
    });
    // The drivers strip's card button and a double-click on a driver.
    QAction* card = m_form1.driverTools()->addAction(QStringLiteral("Картка"));
    card->setToolTip(QStringLiteral("Відкрити карточку водія"));
    connect(card, &QAction::triggered, this, [this, showCarCard] {
        guarded([&] { showCarCard(m_commands.openers().driverCardForDriver(m_form1.driversPageShown())); });
    });
    connect(&m_form1, &TForm1::gridDoubleClicked, this, [this, showCarCard](int model) {
        if (model == TForm1::Drivers)
            guarded([&] { showCarCard(m_commands.openers().driverCardForDriver(true)); });
    });
}

void MainWindowWiring::makeTaskWindow(FormShell& window)
{
    connect(&window, &FormShell::shown, this, [this] { m_form1.setEnabled(false); });
    connect(&window, &FormShell::closed, this, [this] {
        m_form1.setEnabled(true);
        refreshShown();
    });
}

void MainWindowWiring::runHotKey(HotKey key)
{
    const HotKeyAction action = resolveHotKey(key, m_form1.hotKeyState());
    guarded([&] {
        switch (action.command) {
        case HotKeyCommand::ShowMessage:
            m_prompts.message(action.message);
            break;
        case HotKeyCommand::PutDriverOnAir:
            if (m_commands.driverAir().putDriverOnAir())
                m_carCard.show(); // the car card of the driver now on air
            break;
        case HotKeyCommand::TakeDriverOffAir:
            m_commands.driverAir().takeCurrentDriverOffAir();
            break;
        case HotKeyCommand::TakeStandDriverOffAir:
            m_commands.driverAir().takeStandDriverOffAir();
            break;
        case HotKeyCommand::SendMessageToDriver:
            m_commands.messages().sendToCurrentDriver();
            break;
        case HotKeyCommand::RemoveDriverFromStand:
            m_commands.driverAir().removeCurrentDriverFromStand();
            break;
        case HotKeyCommand::RemoveStandDriverFromStand:
            m_commands.driverAir().removeDriverFromSelectedStand();
            break;
        case HotKeyCommand::NewUncodedOrder:
            m_orderForm.show();
            break;
        case HotKeyCommand::CloseCurrentOrder:
        case HotKeyCommand::CloseOrderGroup:
            m_maintenance.show();
            break;
        case HotKeyCommand::NextOrdersPage:
            m_form1.orderViews()->setCurrentIndex((m_form1.orderViews()->currentIndex() + 1) % 3);
            break;
        case HotKeyCommand::None:
            break;
        }
    });
}
