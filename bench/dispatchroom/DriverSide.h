#pragma once

#include "RoomClock.h"

#include "foundation/fb/FbConnection.h"

#include <QHash>
#include <random>
#include <vector>

// The drivers' side of the room on a connection of its own: 500 drivers on air, each
// making one change every ten seconds (a GPRS action or a move to another stand), each
// change a transaction of its own as the drivers' server writes it; and every driver who
// took an order is back on a stand, his order executed, once his trip is over.
class DriverSide
{
public:
    struct Figures
    {
        qint64 changes = 0;          // GPRS actions and moves committed
        qint64 refused = 0;          // changes that met a locked or changed row
        qint64 tripsEnded = 0;       // orders executed and drivers freed
        qint64 tripEndsRefused = 0;  // trip ends that found the order or driver changed
        qint64 longestWriteNs = 0;   // one change or trip end, its waits for locks included
        qint64 longestRefusedNs = 0; // the longest of those that ended in a lock conflict
        qint64 writes = 0;
        qint64 writeNs = 0; // all writes together, for the mean
        double achievedPerSecond = 0;
        // Order number -> when its trip end began: the driver was free for another
        // order only after that.
        QHash<qint64, qint64> tripEndedNs;
        QString failure; // the run stopped early
    };

    DriverSide(const ConnectionParameters& database, const RoomSchedule& schedule, int drivers,
               double changesPerSecond, double tripSimulatedSeconds);
    // Works until the end of the schedule; call on a thread of its own.
    void run();
    const Figures& figures() const { return m_figures; }

private:
    void change(qint64 index);
    void endTrips();
    template <typename Write> void timed(Write write, qint64& refusedCounter);

    ConnectionParameters m_database;
    RoomSchedule m_schedule;
    int m_drivers;
    double m_changesPerSecond;
    double m_tripSimulatedSeconds;
    FbConnection m_connection;
    qint64 m_nextAction = 0;
    QHash<qint64, qint64> m_busySinceNs; // order number -> first seen taken
    std::mt19937 m_random{7};
    Figures m_figures;
};
