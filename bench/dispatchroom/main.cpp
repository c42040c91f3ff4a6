// A dispatch room under load: 5, 10 and 20 workstations, each a process with the real
// data module on one Firebird network server on loopback, react to the database events
// by reopening their lists, while the drivers' side writes GPRS actions and moves drivers
// and the dispatchers record and hand out 600 orders an hour between them, the hour run
// fast. Prints how soon a commit shows on every other desk, the server's CPU, the
// longest write (its waits for locked rows included) and whether any assignment was lost
// or doubled; exits non-zero when one was.
//   bench_dispatchroom [--quick]      (--quick: a few simulated minutes per size)
#include "FbServerProcess.h"
#include "RoomRun.h"
#include "RoomWorkstation.h"

#include "common/BenchSetup.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr qint64 kDrainNs = 3000000000;

int runWorkstation(const QStringList& a)
{
    // --workstation <index> <server> <folder> <file> <seconds> <compression> <orders/h> <delay s> <log>
    const ServerSettings server{a[3], a[4], a[5], QStringLiteral("SYSDBA"), QStringLiteral("masterkey")};
    RoomSchedule schedule;
    schedule.realSeconds = a[6].toDouble();
    schedule.compression = a[7].toDouble();
    RoomWorkstation::Pace pace;
    pace.ordersPerSimulatedHour = a[8].toDouble();
    pace.handOutDelaySimulatedSeconds = a[9].toDouble();
    RoomWorkstation desk(a[2].toInt(), server, schedule, pace);
    const bool connected = desk.connect();
    std::cout << (connected ? "ready" : "failed") << std::endl;
    std::string start;
    if (!connected || !std::getline(std::cin, start))
        return 1;
    desk.run(std::stoll(start), kDrainNs);
    return desk.log().save(a[10]) ? 0 : 1;
}

void printHeader()
{
    std::printf("desks  sim-min  recorded  handed-out  lost-races  p50-ms  p99-ms  max-ms  unseen  server-CPU-s  "
                "longest-write-ms (desk record / desk hand-out / drivers)  lost  doubled  driver-twice\n");
}

void print(const RoomRun::Result& r)
{
    std::printf("%5d  %7.0f  %8d  %10d  %10d  %6.1f  %6.1f  %6.1f  %6d  %6.1f (%3.0f%%)  %8.1f / %8.1f / %8.1f  %20d  %7d  "
                "%12d\n",
                r.settings.workstations, r.settings.realSeconds * r.settings.compression / 60, r.recorded,
                r.handedOut, r.lostRaces, r.p50Ms, r.p99Ms, r.maxMs, r.neverShown, r.serverCpuSeconds,
                100 * r.serverCpuSeconds / r.settings.realSeconds, r.longestRecordMs, r.longestHandOutMs,
                double(r.drivers.longestWriteNs) / 1e6, r.check.lost, r.check.doubled, r.check.driverTwice);
}

void printDetails(const RoomRun::Result& r)
{
    std::printf("  %d desks: drivers' side %.1f changes/s achieved (%lld committed, mean write %.1f ms, %lld refused "
                "by a locked or changed row, longest refused %.1f ms), %lld trips ended (%lld refused); longest "
                "hand-out lost to another desk %.1f ms; %lld list reopenings of the open orders; %zu latency "
                "samples; %d recordings failed; %d messages shown; %d recorded orders still without a driver at "
                "the end\n",
                r.settings.workstations, r.drivers.achievedPerSecond, qlonglong(r.drivers.changes),
                r.drivers.writes ? double(r.drivers.writeNs) / double(r.drivers.writes) / 1e6 : 0.0,
                qlonglong(r.drivers.refused), double(r.drivers.longestRefusedNs) / 1e6,
                qlonglong(r.drivers.tripsEnded), qlonglong(r.drivers.tripEndsRefused), r.longestLostRaceMs,
                qlonglong(r.reopens),
                r.latencySamples, r.recordFailures, r.messages, r.check.unhandedDue);
    if (!r.failure.isEmpty())
        std::printf("  FAILED: %s\n", qPrintable(r.failure));
    for (const QString& finding : r.check.findings)
        std::printf("  finding: %s\n", qPrintable(finding));
}

} // namespace

int main(int argc, char** argv)
{
    const BenchSetup work;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 11 && args[1] == QLatin1String("--workstation"))
        return runWorkstation(args);
    const bool quick = args.contains(QLatin1String("--quick"));

    FbServerProcess server;
    if (!server.open(work.path())) {
        std::printf("dispatch room: skipped (%s; ./taxi bench starts one)\n", qPrintable(server.why()));
        return 0;
    }
    RoomRun::Settings base;
    base.compression = 30;
    std::printf("A dispatch room under load on the network server %s (pid %lld, %s)\n", qPrintable(server.prefix()),
                qlonglong(server.pid()), server.startedHere() ? "started here" : "of ./taxi bench");
    std::printf("Time runs %.0fx: 1 simulated hour = %.0f real seconds. %.0f orders per simulated hour recorded and "
                "handed out between the desks, each handed out %.0f simulated s after it showed, trips of %.0f "
                "simulated min.\n",
                base.compression, 3600 / base.compression, base.ordersPerSimulatedHour,
                base.handOutDelaySimulatedSeconds, base.tripSimulatedSeconds / 60);
    std::printf("Drivers' side: %d drivers on air, %.0f changes per real second (one a second per 10 drivers, "
                "not compressed), GPRS actions and moves in turn, each its own transaction.\n",
                base.drivers, base.driverChangesPerSecond);
    std::printf("Latency: from the commit returning on one desk to each other desk's open-orders list showing "
                "the new order or its driver.\n\n");

    struct Size
    {
        int desks;
        double seconds;
    };
    const std::vector<Size> sizes =
        quick ? std::vector<Size>{{5, 15}, {10, 15}, {20, 20}} : std::vector<Size>{{5, 60}, {10, 60}, {20, 120}};
    std::vector<RoomRun::Result> results;
    for (const Size& size : sizes) {
        RoomRun::Settings settings = base;
        settings.workstations = size.desks;
        settings.realSeconds = size.seconds;
        results.push_back(RoomRun::run(settings, server, QCoreApplication::applicationFilePath()));
        std::fprintf(stderr, "  %d desks done\n", size.desks);
    }
    printHeader();
    for (const RoomRun::Result& r : results)
        print(r);
    std::printf("\n");
    bool clean = true;
    for (const RoomRun::Result& r : results) {
        printDetails(r);
        clean = clean && r.check.clean() && r.completed;
    }
    if (results.size() == 3 && results[0].p50Ms > 0)
        std::printf("\ngrowth 5 -> 10 -> 20 desks: p50 x%.2f x%.2f, p99 x%.2f x%.2f, server CPU per real second "
                    "x%.2f x%.2f\n",
                    results[1].p50Ms / results[0].p50Ms, results[2].p50Ms / results[1].p50Ms,
                    results[1].p99Ms / results[0].p99Ms, results[2].p99Ms / results[1].p99Ms,
                    (results[1].serverCpuSeconds / results[1].settings.realSeconds) /
                        (results[0].serverCpuSeconds / results[0].settings.realSeconds),
                    (results[2].serverCpuSeconds / results[2].settings.realSeconds) /
                        (results[1].serverCpuSeconds / results[1].settings.realSeconds));
    std::printf("%s\n", clean ? "assignments: none lost, none doubled" : "ASSIGNMENTS LOST OR DOUBLED, or a run failed");
    return clean ? 0 : 1;
}
