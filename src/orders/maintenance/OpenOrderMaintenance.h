#pragma once

#include "orders/maintenance/OrderMaintenanceRequest.h"

#include <QList>
#include <QStringList>
#include <functional>

struct DispatchContext;
struct StoredOrder;
struct ClosedFreeRide;

// How a command of the maintenance window ended: whether it did what was asked, and
// whether the window closes now.
struct MaintenanceOutcome
{
    bool done = false;
    bool closeWindow = false;
};

// The commands of the open-orders page for the order the main window chose. Each asks
// what it must ask, then runs as one transaction that reads the order again, checks it
// against the window's header, guards every write by what it read and commits all or
// nothing. Every message goes through the prompts; nothing is thrown.
class OpenOrderMaintenance
{
public:
    OpenOrderMaintenance(DispatchContext& ctx, OrderMaintenanceRequest header);

    const OrderMaintenanceRequest& header() const { return m_header; }

    MaintenanceOutcome CloseOrder();
    MaintenanceOutcome CloseDueOrders();
    MaintenanceOutcome CloseOrderWithBalance();
    MaintenanceOutcome ForceCloseGprsOrder();
    MaintenanceOutcome ResetGprsMarkers();
    MaintenanceOutcome ChangeOpenOrderClient();
    // The drivers the order can go to, "[" callsign "] " name, for the drop-down list;
    // empty while the order has no driver.
    QStringList DriverChoices();
    MaintenanceOutcome ChangeOpenOrderDriver(const QString& choice);
    MaintenanceOutcome ToggleOpenOrderFree();
    MaintenanceOutcome DeleteOpenOrder();

private:
    enum class CloseKind { Plain, GprsForced };
    MaintenanceOutcome closeOne(CloseKind kind);
    // The order as read again, when it is still the header's open, assigned order.
    StoredOrder readClosable(const QString& changedMessage);
    // Outside the transaction: the jubilee marks come from the committed archive.
    void updateMarks(const QList<ClosedFreeRide>& rides);
    bool inTransaction(const std::function<void()>& work, const QString& failureMessage = {});

    DispatchContext& m_ctx;
    OrderMaintenanceRequest m_header;
};
