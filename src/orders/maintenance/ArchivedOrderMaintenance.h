#pragma once

#include "orders/maintenance/OpenOrderMaintenance.h"
#include "orders/maintenance/OrderMaintenanceRequest.h"

#include <QStringList>
#include <functional>

struct DispatchContext;

// The commands of the archived-orders page for an executed order of CLOSEZAMOVLENNIA.
// Every correction also repairs what the order counted for: the client's ride counters
// and balance, the drivers' accounts and their jubilee and refusal marks. Each runs as
// one transaction that reads the order and the counters again, writes values computed
// from what it read, guards every write by it and commits all or nothing; a deleted
// order is corrected no more, since its deletion already gave everything back.
class ArchivedOrderMaintenance
{
public:
    ArchivedOrderMaintenance(DispatchContext& ctx, OrderMaintenanceRequest header);

    const OrderMaintenanceRequest& header() const { return m_header; }

    MaintenanceOutcome ChangeArchivedOrderClient();
    // Every registered driver of another callsign, on air or not: "[" callsign "] " name.
    QStringList DriverChoices();
    MaintenanceOutcome ChangeArchivedOrderDriver(const QString& choice);
    MaintenanceOutcome ToggleArchivedOrderFree();
    MaintenanceOutcome SetArchivedOrderPayment();
    MaintenanceOutcome DeleteArchivedOrder();

private:
    bool inTransaction(const std::function<void()>& work, const QString& failureMessage = {});
    qint64 ridesPerFreeRide() const;

    DispatchContext& m_ctx;
    OrderMaintenanceRequest m_header;
};
