#pragma once

#include "orders/maintenance/OpenOrderMaintenance.h"
#include "orders/maintenance/OrderMaintenanceRequest.h"

#include <QObject>
#include <QStringList>
#include <optional>

class OrderFormController;
struct DispatchContext;

// The order maintenance window without its widgets: the order the main window chose
// (its header and the groups to show), the commands of its page (open or archived), and
// the recalculation in the order form. The window shows what this holds and forwards what
// the dispatcher does.
class OrderMaintenanceController : public QObject
{
    Q_OBJECT
public:
    enum class Command {
        Close,
        CloseDue,
        CloseWithBalance,
        ForceCloseGprs,
        ResetGprsMarkers,
        ChangeClient,
        ChangeDriver,
        ToggleFree,
        Delete,
        SetPayment, // archived orders only
        Recalculate,
    };

    OrderMaintenanceController(DispatchContext& ctx, OrderFormController& orderForm,
                               QObject* parent = nullptr);

    // Shows the window on the chosen order and runs the close command asked for at once.
    void open(const OrderMaintenanceRequest& request);
    const std::optional<OrderMaintenanceRequest>& request() const { return m_request; }
    // Whether the command belongs to the request's page.
    bool available(Command command) const;
    bool archivedPage() const;

    // The drivers the order can go to, for the driver list as it drops down.
    QStringList driverChoices();
    // A command of the page; driverChoice is the driver list's text.
    void run(Command command, const QString& driverChoice = {});
    // The drivers menu's "Зняти / обнулити помітку GPRS всім водіям": needs no order.
    void resetGprsMarkers();

signals:
    void showRequested();
    void closeRequested();

private:
    MaintenanceOutcome runOpen(Command command, const QString& driverChoice);
    MaintenanceOutcome runArchived(Command command, const QString& driverChoice);

    DispatchContext& m_ctx;
    OrderFormController& m_orderForm;
    std::optional<OrderMaintenanceRequest> m_request;
};
