#include "orders/maintenance/OrderMaintenanceController.h"

#include "orders/intake/OrderFormController.h"
#include "orders/maintenance/OpenOrderMaintenance.h"

namespace {
const QString kOpenPage = QStringLiteral("ACTIV_ZAM");
} // namespace

OrderMaintenanceController::OrderMaintenanceController(DispatchContext& ctx, OrderFormController& orderForm,
                                                       QObject* parent)
    : QObject(parent), m_ctx(ctx), m_orderForm(orderForm)
{
}

void OrderMaintenanceController::open(const OrderMaintenanceRequest& request)
{
    m_request = request;
    emit showRequested();
    switch (request.then) {
    case OrderMaintenanceRequest::Then::CloseSelectedOrder:
        run(Command::Close);
        break;
    case OrderMaintenanceRequest::Then::CloseSelectionOfOrders:
        run(Command::CloseDue);
        break;
    case OrderMaintenanceRequest::Then::Nothing:
        break;
    }
}

bool OrderMaintenanceController::available(Command command) const
{
    if (!m_request)
        return false;
    return m_request->page == kOpenPage || command == Command::Recalculate;
}

QStringList OrderMaintenanceController::driverChoices()
{
    if (!m_request || m_request->page != kOpenPage)
        return {};
    return OpenOrderMaintenance(m_ctx, *m_request).DriverChoices();
}

void OrderMaintenanceController::resetGprsMarkers()
{
    OpenOrderMaintenance(m_ctx, m_request.value_or(OrderMaintenanceRequest{})).ResetGprsMarkers();
}

void OrderMaintenanceController::run(Command command, const QString& driverChoice)
{
    if (!available(command))
        return;
    if (command == Command::Recalculate) {
        // The order form takes the order over; its save writes the new route and sum back.
        const OrderTable table = m_request->page == kOpenPage ? OrderTable::Open : OrderTable::Archive;
        if (m_orderForm.openForEdit(m_request->number, table))
            emit closeRequested();
        return;
    }
    OpenOrderMaintenance page(m_ctx, *m_request);
    MaintenanceOutcome outcome;
    switch (command) {
    case Command::Close:
        outcome = page.CloseOrder();
        break;
    case Command::CloseDue:
        outcome = page.CloseDueOrders();
        break;
    case Command::CloseWithBalance:
        outcome = page.CloseOrderWithBalance();
        break;
    case Command::ForceCloseGprs:
        outcome = page.ForceCloseGprsOrder();
        break;
    case Command::ResetGprsMarkers:
        outcome = page.ResetGprsMarkers();
        break;
    case Command::ChangeClient:
        outcome = page.ChangeOpenOrderClient();
        break;
    case Command::ChangeDriver:
        outcome = page.ChangeOpenOrderDriver(driverChoice);
        break;
    case Command::ToggleFree:
        outcome = page.ToggleOpenOrderFree();
        break;
    case Command::Delete:
        outcome = page.DeleteOpenOrder();
        break;
    case Command::Recalculate:
        break;
    }
    if (outcome.closeWindow)
        emit closeRequested();
}
