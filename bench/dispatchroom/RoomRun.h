#pragma once

#include "DriverSide.h"
#include "RoomDatabase.h"

#include <QString>

class FbServerProcess;

// One shift of the room with a given number of workstations on a fresh database: the
// workstations as processes of their own, the drivers' side on a thread here.
struct RoomRun
{
    struct Settings
    {
        int workstations = 5;
        double realSeconds = 60;
        double compression = 30;
        double ordersPerSimulatedHour = 600;
        int drivers = 500;
        double driverChangesPerSecond = 50;
        double tripSimulatedSeconds = 10 * 60;
        double handOutDelaySimulatedSeconds = 60;
    };
    struct Result
    {
        Settings settings;
        bool completed = false;
        QString failure;
        int recorded = 0;
        int handedOut = 0;
        int lostRaces = 0;
        int recordFailures = 0;
        int messages = 0;
        std::size_t latencySamples = 0;
        int neverShown = 0;
        double p50Ms = 0, p99Ms = 0, maxMs = 0;
        double serverCpuSeconds = 0;
        double longestRecordMs = 0, longestHandOutMs = 0, longestLostRaceMs = 0;
        qint64 reopens = 0;
        DriverSide::Figures drivers;
        RoomDatabase::Check check;
    };

    static Result run(const Settings& settings, FbServerProcess& server, const QString& program);
};
