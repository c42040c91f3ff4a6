#pragma once

#include <QDateTime>
#include <QString>

class FbQuery;
struct StoredOrder;

// The company's number of paid rides that earn a free ride, as a number: 0 when free
// rides are not earned ("", "0", or anything that is not a positive number).
qint64 RidesPerFreeRide(const QString& setting);

// A driver whose free ride was closed: his jubilee mark is recomputed after the commit.
struct ClosedFreeRide
{
    qint64 callsign = 0;
    QString driverName;
    bool operator==(const ClosedFreeRide&) const = default;
};

// The four writes every close shares, for an open, assigned order as read again inside
// the running transaction: the driver freed and queued last at the place where he now
// stands, the order executed at `now`, the client's ride counters, the car's counter.
// ridesPerFreeRide is the company's setting as shown ("" or "0": free rides are not
// earned). Throws DbError, or MaintenanceRefusal with changedMessage when the order was
// changed meanwhile. True when a free ride was closed.
bool CloseOrderSteps(FbQuery& q, const StoredOrder& order, const QString& ridesPerFreeRide,
                     const QDateTime& now, const QString& changedMessage);
