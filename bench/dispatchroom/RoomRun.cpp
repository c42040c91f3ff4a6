#include "RoomRun.h"

#include "FbServerProcess.h"
#include "LatencyRecorder.h"
#include "RoomClock.h"

#include "support/TestDatabase.h"

#include <QProcess>
#include <memory>
#include <thread>

namespace {

constexpr qint64 kDrainNs = 3000000000; // the last changes reach every desk

} // namespace

RoomRun::Result RoomRun::run(const Settings& settings, FbServerProcess& server, const QString& program)
{
    Result result;
    result.settings = settings;
    TestDatabase db(server.prefix());
    RoomDatabase::fill(db, settings.drivers);

    // Every workstation connects and reads its lists; the room starts when all are ready.
    std::vector<std::unique_ptr<QProcess>> desks;
    for (int i = 0; i < settings.workstations; ++i) {
        auto desk = std::make_unique<QProcess>();
        desk->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        desk->start(program, {QStringLiteral("--workstation"), QString::number(i), server.prefix(), db.folder(),
                              QStringLiteral("TEST.FDB"), QString::number(settings.realSeconds),
                              QString::number(settings.compression),
                              QString::number(settings.ordersPerSimulatedHour / settings.workstations),
                              QString::number(settings.handOutDelaySimulatedSeconds),
                              db.folder() + QStringLiteral("/desk%1.log").arg(i)});
        desks.push_back(std::move(desk));
    }
    for (auto& desk : desks) {
        while (!desk->canReadLine() && desk->state() != QProcess::NotRunning)
            desk->waitForReadyRead(60000);
        if (desk->readLine().trimmed() != "ready") {
            result.failure = QStringLiteral("a workstation could not connect");
            for (auto& d : desks)
                d->kill();
            for (auto& d : desks)
                d->waitForFinished();
            return result;
        }
    }
    RoomSchedule schedule;
    schedule.startNs = RoomNowNs() + 500000000;
    schedule.realSeconds = settings.realSeconds;
    schedule.compression = settings.compression;
    for (auto& desk : desks) {
        desk->write(QByteArray::number(schedule.startNs) + '\n');
        desk->waitForBytesWritten();
    }
    DriverSide drivers(db.params(), schedule, settings.drivers, settings.driverChangesPerSecond,
                       settings.tripSimulatedSeconds);
    std::thread driverThread([&drivers] { drivers.run(); });

    while (RoomNowNs() < schedule.startNs)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double cpuBefore = server.cpuSeconds();
    while (RoomNowNs() < schedule.endNs())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double cpuAfter = server.cpuSeconds();
    result.serverCpuSeconds = cpuBefore < 0 || cpuAfter < 0 ? -1 : cpuAfter - cpuBefore;
    driverThread.join();
    result.drivers = drivers.figures();

    std::vector<RoomLog> logs;
    for (int i = 0; i < settings.workstations; ++i) {
        QProcess& desk = *desks[std::size_t(i)];
        desk.waitForFinished(int(kDrainNs / 1000000) + 60000);
        RoomLog log;
        if (desk.exitStatus() != QProcess::NormalExit || desk.exitCode() != 0 ||
            !RoomLog::load(db.folder() + QStringLiteral("/desk%1.log").arg(i), log)) {
            result.failure = QStringLiteral("workstation %1 did not finish its shift").arg(i);
            continue;
        }
        logs.push_back(std::move(log));
    }
    if (!result.drivers.failure.isEmpty())
        result.failure = QStringLiteral("drivers' side: ") + result.drivers.failure;

    LatencyRecorder latency;
    latency.add(logs);
    result.latencySamples = latency.samples();
    result.neverShown = latency.neverShown();
    result.p50Ms = latency.percentileMs(0.50);
    result.p99Ms = latency.percentileMs(0.99);
    result.maxMs = latency.maxMs();
    for (const RoomLog& log : logs) {
        result.recorded += int(log.recorded.size());
        result.handedOut += int(log.handedOut.size());
        result.lostRaces += log.lostRaces;
        result.recordFailures += log.recordFailures;
        result.messages += log.messages;
        result.reopens += log.reopens;
        result.longestRecordMs = std::max(result.longestRecordMs, double(log.longestRecordNs) / 1e6);
        result.longestHandOutMs = std::max(result.longestHandOutMs, double(log.longestHandOutNs) / 1e6);
        result.longestLostRaceMs = std::max(result.longestLostRaceMs, double(log.longestLostRaceNs) / 1e6);
    }
    result.check = RoomDatabase::check(db, logs, result.drivers.tripEndedNs);
    result.completed = result.failure.isEmpty();
    return result;
}
