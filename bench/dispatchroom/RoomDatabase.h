#pragma once

#include "RoomLog.h"

#include <QHash>
#include <QString>
#include <vector>

class TestDatabase;

// The room's database: what is on the desks when the shift begins, and what must hold
// when it ends.
namespace RoomDatabase {

// 500 drivers on air spread over 200 stands, free, each with his GPRS refresh row, and
// 300 preliminary orders for tomorrow that keep the open-orders list at a working size.
void fill(TestDatabase& db, int drivers);

struct Check
{
    int recorded = 0;       // orders the workstations recorded
    int recordedMissing = 0;  // of them, not in the database
    int handOuts = 0;       // assignments the workstations were told succeeded
    int lost = 0;           // told handed out, but the order has another driver or none
    int doubled = 0;        // orders two workstations were both told they handed out
    int driverTwice = 0;    // drivers holding two orders at once (now or during the run)
    int unhandedDue = 0;    // recorded orders still without a driver at the end
    QStringList findings;   // the first few, for the report

    bool clean() const { return recordedMissing == 0 && lost == 0 && doubled == 0 && driverTwice == 0; }
};

// Compares what the workstations were told with the database after the room stopped.
// tripEnded: order number -> when the drivers' side began to end its trip.
Check check(TestDatabase& db, const std::vector<RoomLog>& logs, const QHash<qint64, qint64>& tripEnded);

} // namespace RoomDatabase
