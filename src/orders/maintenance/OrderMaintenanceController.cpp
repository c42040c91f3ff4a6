#include "orders/maintenance/OrderMaintenanceController.h"

#include "orders/intake/OrderFormController.h"
#include "orders/maintenance/ArchivedOrderMaintenance.h"
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

bool OrderMaintenanceController::archivedPage() const
{
    return m_request && m_request->page != kOpenPage;
}

bool OrderMaintenanceController::available(Command command) const
{
    if (!m_request)
        return false;
    switch (command) {
    case Command::ChangeClient:
    case Command::ChangeDriver:
    case Command::ToggleFree:
    case Command::Delete:
    case Command::Recalculate:
        return true;
    case Command::SetPayment:
        return archivedPage();
    default:
        return !archivedPage();
    }
}

QStringList OrderMaintenanceController::driverChoices()
{
    if (!m_request)
        return {};
    return archivedPage() ? ArchivedOrderMaintenance(m_ctx, *m_request).DriverChoices()
                          : OpenOrderMaintenance(m_ctx, *m_request).DriverChoices();
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
        // The order form takes the order over; its save writes the new route and sum back
        // into the table the order lives in.
        if (m_orderForm.openForEdit(m_request->number,
                                    archivedPage() ? OrderTable::Archive : OrderTable::Open))
            emit closeRequested();
        return;
    }
    const MaintenanceOutcome outcome =
        archivedPage() ? runArchived(command, driverChoice) : runOpen(command, driverChoice);
    if (outcome.closeWindow)
        emit closeRequested();
}

MaintenanceOutcome OrderMaintenanceController::runOpen(Command command, const QString& driverChoice)
{
    OpenOrderMaintenance page(m_ctx, *m_request);
    switch (command) {
    case Command::Close:
        return page.CloseOrder();
    case Command::CloseDue:
        return page.CloseDueOrders();
    case Command::CloseWithBalance:
        return page.CloseOrderWithBalance();
    case Command::ForceCloseGprs:
        return page.ForceCloseGprsOrder();
    case Command::ResetGprsMarkers:
        return page.ResetGprsMarkers();
    case Command::ChangeClient:
        return page.ChangeOpenOrderClient();
    case Command::ChangeDriver:
        return page.ChangeOpenOrderDriver(driverChoice);
    case Command::ToggleFree:
        return page.ToggleOpenOrderFree();
    case Command::Delete:
        return page.DeleteOpenOrder();
    default:
        return {};
    }
}

MaintenanceOutcome OrderMaintenanceController::runArchived(Command command, const QString& driverChoice)
{
    ArchivedOrderMaintenance page(m_ctx, *m_request);
    switch (command) {
    case Command::ChangeClient:
        return page.ChangeArchivedOrderClient();
    case Command::ChangeDriver:
        return page.ChangeArchivedOrderDriver(driverChoice);
    case Command::ToggleFree:
        return page.ToggleArchivedOrderFree();
    case Command::SetPayment:
        return page.SetArchivedOrderPayment();
    case Command::Delete:
        return page.DeleteArchivedOrder();
    default:
        return {};
    }
}
