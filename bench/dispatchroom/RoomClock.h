#pragma once

#include <QtGlobal>
#include <ctime>

// One clock for every process of the room: CLOCK_MONOTONIC is the same for all processes
// of a machine, so a commit stamped in one workstation and a list reopened in another
// compare directly.
inline qint64 RoomNowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The simulated hour run fast: real time since the start, times the compression, is the
// simulated time of the room.
struct RoomSchedule
{
    qint64 startNs = 0;      // the moment every workstation starts working
    double realSeconds = 60; // how long the room works
    double compression = 30; // simulated seconds per real second

    qint64 endNs() const { return startNs + qint64(realSeconds * 1e9); }
    // Real nanoseconds that stand for so many simulated seconds.
    qint64 realNsOf(double simulatedSeconds) const { return qint64(simulatedSeconds / compression * 1e9); }
    double simulatedMinutes() const { return realSeconds * compression / 60; }
};
