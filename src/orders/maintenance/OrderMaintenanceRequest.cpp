#include "orders/maintenance/OrderMaintenanceRequest.h"

#include "foundation/DisplayText.h"
#include "foundation/TDANI.h"
#include "mainwindow/RowSnapshots.h"

namespace {

using Request = OrderMaintenanceRequest;
using G = Request::Group;

std::optional<Request> forOpenOrder(Request::Variant variant, const TDANI& dani, bool hotPageShown)
{
    const std::optional<OrderRow> order = currentOrderRow(dani);
    if (hotPageShown || !order)
        return std::nullopt;
    Request r;
    r.number = order->number;
    r.clientCode = order->clientCode;
    r.callsign = order->callsign;
    r.driverName = order->driverName;
    r.freeRide = order->freeRide;
    r.page = QStringLiteral("ACTIV_ZAM");
    if (variant == Request::Variant::Delete) {
        r.visibleGroups = {G::Deletion};
        return r;
    }
    r.visibleGroups = order->callsign != 0
                          ? QList<G>{G::Close, G::Recalculate, G::ClientCode, G::Driver, G::Status}
                          : QList<G>{G::Recalculate, G::ClientCode, G::Status};
    if (variant == Request::Variant::CloseOne)
        r.then = Request::Then::CloseSelectedOrder;
    if (variant == Request::Variant::CloseGroup)
        r.then = Request::Then::CloseSelectionOfOrders;
    return r;
}

std::optional<Request> forExecutedOrder(Request::Variant variant, const TDANI& dani)
{
    // Deleting from an empty list too: without a row there is no order to act on.
    const FbDataSet& list = dani.TABL_VIKON_ZAMOVL;
    if (!list.isOpen() || list.isEmpty() || list.recNo() == 0)
        return std::nullopt;
    auto number = [&](const char* column) { return list.value(QLatin1String(column)).toLongLong(); };
    Request r;
    r.number = number("CZ_NUMBER");
    r.clientCode = number("CZ_NOMER_KLIENT");
    r.callsign = number("CZ_POZIVNIY");
    r.freeRide = displayText(list.value(QStringLiteral("CZ_BEZKOSHTOVN")));
    r.page = QStringLiteral("CLOSE_ZAM");
    r.visibleGroups = variant == Request::Variant::DeleteExecuted
                          ? QList<G>{G::Deletion}
                          : QList<G>{G::Recalculate, G::ClientCode, G::Driver, G::Status, G::Balance};
    return r;
}

} // namespace

std::optional<OrderMaintenanceRequest>
OrderMaintenanceRequest::forCurrentRow(Variant variant, const TDANI& dani, bool hotPageShown)
{
    if (variant == Variant::EditExecuted || variant == Variant::DeleteExecuted)
        return forExecutedOrder(variant, dani);
    return forOpenOrder(variant, dani, hotPageShown);
}
