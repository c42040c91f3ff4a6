#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class TDANI;

// What the main window hands the order maintenance window: the header values of the
// chosen order, the groups to show, the page, and whether one of its close commands
// runs at once.
struct OrderMaintenanceRequest
{
    enum class Variant { Edit, CloseOne, CloseGroup, Delete, EditExecuted, DeleteExecuted };
    enum class Group { Close, Recalculate, ClientCode, Driver, Status, Balance, Deletion };
    enum class Then { Nothing, CloseSelectedOrder, CloseSelectionOfOrders };

    qint64 number = 0;
    qint64 clientCode = 0;
    qint64 callsign = 0;
    QString driverName; // open orders only
    QString freeRide;
    QList<Group> visibleGroups; // every other group hidden
    QString page;               // "ACTIV_ZAM" or "CLOSE_ZAM"
    Then then = Then::Nothing;

    // None when the variant's list is empty or, for the open orders, the hot page is
    // shown. Copies the current row of the open or executed orders list.
    static std::optional<OrderMaintenanceRequest> forCurrentRow(Variant variant, const TDANI& dani,
                                                                bool hotPageShown);
};
