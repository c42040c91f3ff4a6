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
#include "mainwindow/ui/TForm10.h"
#include "mainwindow/ui/TForm13.h"
#include "orders/intake/ui/TForm6.h"
#include "orders/intake/ui/TForm7.h"
#include "orders/maintenance/ui/TForm11.h"
#include "platform/BaseFolder.h"
#include "platform/ui/QtPrompts.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
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

void Workstation::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const DbError& e) {
        prompts.message(e.message());
    }
}

void Workstation::wireCommands()
{
    QToolBar* tools = form1.driverTools();
    auto add = [&](const QString& text, const QString& hint, const std::function<void()>& command) {
        QAction* action = tools->addAction(text);
        action->setToolTip(hint);
        QObject::connect(action, &QAction::triggered, &form1, [this, command] { guarded(command); });
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
    QTableView* driversGrid = form1.grid(TForm1::Drivers);
    driversGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        driversGrid, &QWidget::customContextMenuRequested, &form1, [this, driversGrid](const QPoint& at) {
            QMenu menu;
            const QList<QPair<QString, DriversFilter::Kind>> filters = {
                {QStringLiteral("Загальний список"), DriversFilter::Kind::All},
                {QStringLiteral("Відібрати вільних водіїв"), DriversFilter::Kind::Free},
                {QStringLiteral("Відібрати вільних водіїв які зареєстровані на стоянках"),
                 DriversFilter::Kind::FreeAtStands}};
            for (const auto& [text, kind] : filters) {
                QAction* action = menu.addAction(text);
                action->setCheckable(true);
                action->setChecked(commands.driversFilter().checked() == kind);
                QObject::connect(action, &QAction::triggered, &form1, [this, kind = kind] {
                    guarded([&] { commands.driversFilter().choose(kind); });
                    form1.reloadLists();
                });
            }
            menu.addSeparator();
            if (commands.marks().resetItemsVisible()) {
                QObject::connect(
                    menu.addAction(QStringLiteral("Обнулити помітку ювілейної поїздки (якщо прийшов час)")),
                    &QAction::triggered, &form1, [this] { commands.marks().resetJubileeMarks(); });
                QObject::connect(
                    menu.addAction(QStringLiteral("Обнулити помітку перекриття поїздки (якщо прийшов час)")),
                    &QAction::triggered, &form1, [this] { commands.marks().resetRefusalMarks(); });
            }
            QAction* autoUpdate = menu.addAction(QStringLiteral("Автоматичне обновлення поміток"));
            autoUpdate->setCheckable(true);
            autoUpdate->setChecked(commands.marks().autoUpdate());
            QObject::connect(autoUpdate, &QAction::triggered, &form1,
                             [this] { commands.marks().toggleAutoUpdate(); });
            QObject::connect(menu.addAction(QStringLiteral("Відправити текстове повідомлення водію")),
                             &QAction::triggered, &form1,
                             [this] { commands.messages().sendToCurrentDriver(); });
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
        QAction* action = form1.orderTools()->addAction(text);
        action->setToolTip(hint);
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, &form1, [this, which = which] {
            OpenOrderFilters& filters = commands.orderFilters();
            form1.setOrderFilters(filters.pressed(OpenOrderFilters::Toggle::ToHandOut) !=
                                      (which == OpenOrderFilters::Toggle::ToHandOut),
                                  filters.pressed(OpenOrderFilters::Toggle::Carried) !=
                                      (which == OpenOrderFilters::Toggle::Carried));
            guarded([&] { filters.flip(which); });
            form1.reloadLists();
        });
    }

    QObject::connect(&form1, &TForm1::sortRequested, &form1, [this](int model, const QString& field) {
        FbDataSet* lists[] = {nullptr, &dani.TABL_ZADIANI_AVTO, nullptr,
                              nullptr, &dani.TABL_VIKON_ZAMOVL, &dani.TABL_DELETE_ZAMOVL};
        if (model < 0 || model > 5 || !lists[model] || field.isEmpty())
            return;
        guarded([&] { commands.sorting().sortBy(*lists[model], field); });
        form1.reloadLists();
    });
    QObject::connect(&form1, &TForm1::gridDoubleClicked, &form1, [this](int model) {
        if (model == TForm1::GprsActions)
            commands.gprsDetails().showCurrentAction();
    });
    QObject::connect(&form1, &TForm1::hotKeyPressed, &form1, [this](HotKey key) { runHotKey(key); });

    // The windows of later work open as they are.
    const QList<QPair<QString, QWidget*>> windows = {{QStringLiteral("Нове замовлення"), &form2},
                                                     {QStringLiteral("Редагування замовлення"), form11.get()},
                                                     {QStringLiteral("Чорний список"), form10.get()},
                                                     {QStringLiteral("Карта міста"), form8.get()},
                                                     {QStringLiteral("Повідомлення диспетчерам"), &form12},
                                                     {QStringLiteral("Гарячі клавіші"), form13.get()}};
    for (const auto& [text, window] : windows)
        QObject::connect(form1.bottomTools()->addAction(text), &QAction::triggered, window, &QWidget::show);
    for (FormShell* window : {static_cast<FormShell*>(&form2), static_cast<FormShell*>(form10.get()),
                              static_cast<FormShell*>(form11.get())})
        makeTaskWindow(*window);
    wireOrderMenus();
}

void Workstation::addGridMenu(int model, const std::function<void(QMenu&)>& fill)
{
    QTableView* grid = form1.grid(model);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, &form1, [grid, fill](const QPoint& at) {
        QMenu menu;
        fill(menu);
        menu.exec(grid->viewport()->mapToGlobal(at));
    });
}

void Workstation::wireOrderMenus()
{
    auto item = [this](QMenu& menu, const QString& text, const std::function<void()>& command) {
        QObject::connect(menu.addAction(text), &QAction::triggered, &form1,
                         [this, command] { guarded(command); });
    };
    auto showCarCard = [this](std::optional<qint64> callsign) {
        if (callsign) {
            ShowDriverDetails(dispatch, *callsign);
            form5->show();
        }
    };
    addGridMenu(TForm1::OpenOrders, [this, item, showCarCard](QMenu& menu) {
        item(menu, QStringLiteral("Створити нове замовлення"), [this] { form2.show(); });
        item(menu, QStringLiteral("Відкрити карточку водія"),
             [this, showCarCard] { showCarCard(commands.openers().driverCardForOrder()); });
        item(menu, QStringLiteral("Відкрити карточку клієнта"), [this] {
            if (commands.openers().clientCardForOrder())
                form2.show();
        });
        item(menu, QStringLiteral("Редагувати / закрити вибране вибране замовлення"),
             [this] { form11->show(); });
        item(menu, QStringLiteral("Знищення вибраного замовлення"), [this] { form11->show(); });
        item(menu, QStringLiteral("Відправити текстове повідомлення водію"),
             [this] { commands.messages().sendToOrderDriver(); });
        QMenu* filters = menu.addMenu(QStringLiteral("У таблицю перегляду добавити замовлення ..."));
        for (QAction* toggle : form1.orderTools()->actions()) {
            QAction* mirror = filters->addAction(toggle->toolTip());
            mirror->setCheckable(true);
            mirror->setChecked(toggle->isChecked());
            QObject::connect(mirror, &QAction::triggered, toggle, &QAction::trigger);
        }
    });
    addGridMenu(TForm1::Executed, [this, item](QMenu& menu) {
        item(menu, QStringLiteral("Редагувати / закрити вибране вибране замовлення"),
             [this] { form11->show(); });
        item(menu, QStringLiteral("Знищення вибраного замовлення"), [this] { form11->show(); });
        item(menu,
             QStringLiteral("Показати на карті початковий пункт або кінцевий пункт (при вказаних даних)"),
             [this] {
                 if (commands.openers().executedPointOnMap())
                     form8->show();
             });
    });
    // The drivers strip's card button and a double-click on a driver.
    QAction* card = form1.driverTools()->addAction(QStringLiteral("Картка"));
    card->setToolTip(QStringLiteral("Відкрити карточку водія"));
    QObject::connect(card, &QAction::triggered, &form1, [this, showCarCard] {
        guarded([&] { showCarCard(commands.openers().driverCardForDriver(form1.driversPageShown())); });
    });
    QObject::connect(&form1, &TForm1::gridDoubleClicked, &form1, [this, showCarCard](int model) {
        if (model == TForm1::Drivers)
            guarded([&] { showCarCard(commands.openers().driverCardForDriver(true)); });
    });
}

void Workstation::makeTaskWindow(FormShell& window)
{
    QObject::connect(&window, &FormShell::shown, &form1, [this] { form1.setEnabled(false); });
    QObject::connect(&window, &FormShell::closed, &form1, [this] {
        form1.setEnabled(true);
        refreshShown();
    });
}

void Workstation::runHotKey(HotKey key)
{
    const HotKeyAction action = resolveHotKey(key, form1.hotKeyState());
    guarded([&] {
        switch (action.command) {
        case HotKeyCommand::ShowMessage:
            prompts.message(action.message);
            break;
        case HotKeyCommand::PutDriverOnAir:
            if (commands.driverAir().putDriverOnAir())
                form5->show(); // the car card of the driver now on air
            break;
        case HotKeyCommand::TakeDriverOffAir:
            commands.driverAir().takeCurrentDriverOffAir();
            break;
        case HotKeyCommand::TakeStandDriverOffAir:
            commands.driverAir().takeStandDriverOffAir();
            break;
        case HotKeyCommand::SendMessageToDriver:
            commands.messages().sendToCurrentDriver();
            break;
        case HotKeyCommand::RemoveDriverFromStand:
            commands.driverAir().removeCurrentDriverFromStand();
            break;
        case HotKeyCommand::RemoveStandDriverFromStand:
            commands.driverAir().removeDriverFromSelectedStand();
            break;
        case HotKeyCommand::NewUncodedOrder:
            form2.show();
            break;
        case HotKeyCommand::CloseCurrentOrder:
        case HotKeyCommand::CloseOrderGroup:
            form11->show();
            break;
        case HotKeyCommand::NextOrdersPage:
            form1.orderViews()->setCurrentIndex((form1.orderViews()->currentIndex() + 1) % 3);
            break;
        case HotKeyCommand::None:
            break;
        }
    });
}
