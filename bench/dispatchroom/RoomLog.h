#pragma once

#include <QHash>
#include <QString>
#include <vector>

// What one workstation of the room did and saw, written to a file of its own when it
// ends and read back by the room. Times are RoomNowNs().
struct RoomLog
{
    struct Commit
    {
        qint64 order = 0;
        qint64 atNs = 0; // the commit returned
    };
    struct HandOut
    {
        qint64 order = 0;
        qint64 callsign = 0;
        qint64 atNs = 0;
    };

    int workstation = 0;
    std::vector<Commit> recorded;        // orders this workstation recorded
    std::vector<HandOut> handedOut;      // assignments that reported success here
    int lostRaces = 0;                   // hand-outs refused: another workstation was first
    int recordFailures = 0;              // recordings the database refused
    QHash<qint64, qint64> firstSeenNs;   // order number -> its list first showed it
    QHash<qint64, qint64> carriedSeenNs; // order number -> its list first showed its driver
    qint64 longestRecordNs = 0;          // insert and commit of one order
    qint64 longestHandOutNs = 0;         // one assignment, its waits for locked rows included
    qint64 longestLostRaceNs = 0;        // one refused assignment: mostly a wait for another desk's commit
    qint64 reopens = 0;                  // times the open-orders list was read again
    int messages = 0;                    // what the data module or the operations showed

    bool save(const QString& path) const;
    static bool load(const QString& path, RoomLog& log);
};
