#include "mainwindow/ui/MainWindowActions.h"

#include "dispatch/DispatchContext.h"
#include "fleet/CarCard.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/MainWindowCommands.h"
#include "mainwindow/ui/HotOrdersPage.h"
#include "mainwindow/ui/OrderRecordPanels.h"
#include "mainwindow/ui/TForm1.h"
#include "platform/Prompts.h"

#include <QTabWidget>

MainWindowActions::MainWindowActions(DispatchContext& ctx, MainWindowCommands& commands, TForm1& form,
                                     DeskWindows windows, OrderFormController& orderForm,
                                     MapWindowController& cityMap, OrderMaintenanceController& maintenance,
                                     CarCard& carCard, SoftphonePanel& softphone)
    : m_open(ctx, commands, form, windows, orderForm, cityMap, maintenance, carCard, softphone),
      m_hotKeys(ctx, commands), m_orders(m_open), m_drivers(m_open), m_executed(m_open), m_bottomBar(m_open)
{
    QObject::connect(&form, &TForm1::hotKeyPressed, &m_hotKeys,
                     [this, &form](HotKey key) { m_hotKeys.press(key, form.hotKeyState()); });
    QObject::connect(&m_hotKeys, &HotKeyDispatch::carCardRequested, &form, [this] { m_open.carCardShown(); });
    QObject::connect(&m_hotKeys, &HotKeyDispatch::blackListRequested, &form, [this] { m_open.blackList(); });
    QObject::connect(&m_hotKeys, &HotKeyDispatch::orderFormRequested, &form,
                     [this](OrderFormOpening opening) { m_open.orderForm(opening); });
    QObject::connect(&m_hotKeys, &HotKeyDispatch::maintenanceRequested, &form,
                     [this](const OrderMaintenanceRequest& request) { m_open.maintenance(request); });
    QObject::connect(&m_hotKeys, &HotKeyDispatch::nextOrdersPageRequested, &form, [&form] {
        form.orderViews()->setCurrentIndex((form.orderViews()->currentIndex() + 1) % 3);
    });
    QObject::connect(&form, &TForm1::sortRequested, &form,
                     [this](int model, const QString& field) { sort(model, field); });
    QObject::connect(&form, &TForm1::gridDoubleClicked, &form, [this](int model) { doubleClicked(model); });
    QObject::connect(&form, &TForm1::gridEnterPressed, &form, [this](int model) { enterPressed(model); });
    // The car card's "Відкрити в ефір нового водія" is the main window's put-on-air.
    QObject::connect(&carCard, &CarCard::putOnAirRequested, &form, [this] { m_open.putDriverOnAir(); });
    // A click on the first driver of the nearest stand offers him the order shown.
    QObject::connect(&form, &TForm1::nearestFirstDriverClicked, &form, [this](const QString& driver) {
        guarded([this, &driver] { m_open.commands().handOut().assignFirstDriver(driver, shown()); });
    });
    QObject::connect(
        form.hotPage(), &HotOrdersPage::firstDriverClicked, &form, [this](const QString& driver) {
            guarded([this, &driver] { m_open.commands().handOut().assignFirstDriver(driver, shown()); });
        });
    QObject::connect(
        form.recordPanels(), &OrderRecordPanels::panelDoubleClicked, &form,
        [this](OrderRecordPanels::Spot spot, const QString& value) { panelDoubleClicked(spot, value); });
}

void MainWindowActions::panelDoubleClicked(OrderRecordPanels::Spot spot, const QString& value)
{
    using Spot = OrderRecordPanels::Spot;
    MainWindowCommands& commands = m_open.commands();
    try {
        switch (spot) {
        case Spot::Callsign:
            m_open.carCard(commands.openers().driverCardForOrder());
            break;
        case Spot::ClientCode:
            m_open.clientCard(commands.openers().clientCardForOrder());
            break;
        case Spot::Pickup:
        case Spot::Destination:
            m_open.map(value.trimmed().isEmpty() ? std::nullopt : std::optional<QString>(value));
            break;
        case Spot::Elsewhere:
            m_open.maintenance(OrderMaintenanceRequest::Variant::Edit);
            break;
        }
    } catch (const DbError& e) {
        m_open.context().prompts.message(e.message());
    }
}

void MainWindowActions::sort(int model, const QString& field)
{
    TDANI& dani = m_open.context().dani;
    FbDataSet* list = model == TForm1::Drivers    ? &dani.TABL_ZADIANI_AVTO
                      : model == TForm1::Executed ? &dani.TABL_VIKON_ZAMOVL
                      : model == TForm1::Deleted  ? &dani.TABL_DELETE_ZAMOVL
                                                  : nullptr;
    if (!list || field.isEmpty())
        return;
    try {
        m_open.commands().sorting().sortBy(*list, field);
    } catch (const DbError& e) {
        m_open.context().prompts.message(e.message());
    }
    m_open.form().reloadLists();
}

void MainWindowActions::doubleClicked(int model)
{
    MainWindowCommands& commands = m_open.commands();
    try {
        switch (model) {
        case TForm1::Drivers: // on either page
            m_open.carCard(commands.openers().driverCardForDriver(true));
            break;
        case TForm1::GprsActions:
            commands.gprsDetails().showCurrentAction();
            break;
        case TForm1::OpenOrders:
            m_open.maintenance(OrderMaintenanceRequest::Variant::Edit);
            break;
        case TForm1::Executed:
            m_open.maintenance(OrderMaintenanceRequest::Variant::EditExecuted);
            break;
        case TForm1::Stands:
            commands.handOut().chooseCarAtStand(shown(), false);
            break;
        default:
            break;
        }
    } catch (const DbError& e) {
        m_open.context().prompts.message(e.message());
    }
}

void MainWindowActions::enterPressed(int model)
{
    // Enter on the drivers and executed grids does what their double-click does; on the
    // stand grid it chooses a car too, with its own word for a wrong callsign.
    if (model == TForm1::Drivers || model == TForm1::Executed)
        doubleClicked(model);
    else if (model == TForm1::Stands)
        guarded([this] { m_open.commands().handOut().chooseCarAtStand(shown(), true); });
}

HandOutCommands::Shown MainWindowActions::shown() const
{
    TForm1& form = m_open.form();
    return {form.ordersPage(), form.hotPage()->selectedHotOrder()};
}

void MainWindowActions::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const DbError& e) {
        m_open.context().prompts.message(e.message());
    }
}
