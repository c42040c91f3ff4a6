// The street search and the route measurement.
//
// 1. Per leg, on generated cities of 100 to 3,000 streets (a lattice and a sparse tree of
//    side streets, 5 % of the passages one-way): the reference matrix search, rebuilt
//    before every leg as the first workstation did it (where it finishes in reasonable
//    time), and ours on the graph built once; the graph's build time and memory; the
//    database queries a leg would cost with the reference measurement and with ours.
// 2. Whole three-point routes measured as on step 2 of the order form, on the benchmark
//    city (200 stands, 5,000 map points, 5 % one-way) made by the demo city generator and loaded into
//    a fresh embedded database, the network built as at log-in.
#include "GeneratedCity.h"
#include "LiteralStreetSearch.h"
#include "TarifLines.h"
#include "citymap/FindStreetRoutes.h"
#include "citymap/MapPointsLoader.h"
#include "citymap/RouteMeasure.h"
#include "citymap/StreetDirectoryLoader.h"
#include "citymap/StreetNetwork.h"
#include "common/BenchCity.h"
#include "common/BenchSetup.h"
#include "foundation/SettingKeys.h"
#include "orders/intake/MapRouteMeasuring.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

// Queries the reference measurement runs for a leg whose candidates (at most 30 are
// measured) are given: the graph's preparation (highest street number, crossings), the
// two points' streets, the two anchors (street number and the street's points each),
// one crossing per change of street of every candidate, and the best one's street names.
std::size_t referenceQueries(const std::vector<StreetRoute>& candidates)
{
    std::size_t queries = 2 + 2 + 4;
    std::size_t best = 0;
    for (std::size_t i = 0; i < candidates.size() && i < kMeasuredCandidatesPerLeg; ++i) {
        queries += candidates[i].streets.size() - 1;
        best = i == 0 ? candidates[i].streets.size() : best;
    }
    return queries + best;
}

void searchOnGeneratedCities()
{
    std::printf("\nStreet search per leg, 5 %% of the passages one-way (times in ms)\n");
    std::printf("%-7s %6s %7s %9s %9s %9s %10s %10s %10s %9s %8s %9s\n", "city", "streets", "links", "build",
                "graph KB", "cand/leg", "ours avg", "ours max", "ours 30", "reference", "queries", "equal");
    double referencePerStreetCubed = 0.0; // seconds per street³, from the last run
    for (const auto layout : {GeneratedCity::Layout::Grid, GeneratedCity::Layout::Sparse}) {
        for (const int size : {100, 400, 1600, 3000}) {
            const GeneratedCity city = GeneratedCity::make(layout, size, 0.05, 2026u + unsigned(size));
            StreetGraph graph;
            const OneWayPassages passages = OneWayPassages::parse(city.oneWayEntries);
            QElapsedTimer t;
            std::vector<double> builds;
            for (int round = 0; round < 5; ++round) {
                t.start();
                graph.build(city.maxStreet, city.points, passages.passages());
                builds.push_back(msSince(t));
            }

            std::mt19937 rng(5);
            std::uniform_int_distribution<std::size_t> pick(0, city.streets.size() - 1);
            std::vector<std::pair<int, int>> legs(2000);
            for (auto& leg : legs)
                leg = {city.streets[pick(rng)], city.streets[pick(rng)]};

            std::vector<double> ours;
            std::vector<std::vector<StreetRoute>> results;
            std::size_t candidates = 0;
            std::size_t queries = 0;
            for (const auto& [from, to] : legs) {
                t.start();
                results.push_back(FindStreetRoutes(graph, from, to));
                ours.push_back(msSince(t));
                candidates += results.back().size();
                queries += referenceQueries(results.back());
            }
            t.start();
            for (const auto& [from, to] : legs)
                FindStreetRoutes(graph, from, to, kMeasuredCandidatesPerLeg);
            const double oursLimited = msSince(t) / double(legs.size());
            double oursAverage = 0.0;
            for (double v : ours)
                oursAverage += v / double(ours.size());

            // The reference, where it finishes: at most about 20 s per city.
            const double streetsCubed = double(city.maxStreet) * city.maxStreet * city.maxStreet;
            const double estimate = referencePerStreetCubed * streetsCubed;
            QString referenceText = QStringLiteral("-");
            QString equalText = QStringLiteral("-");
            if (referencePerStreetCubed == 0.0 || estimate < 20.0) {
                const auto rows = city.crossingRows();
                LiteralStreetSearch reference;
                const std::size_t runs = referencePerStreetCubed == 0.0
                                             ? 50
                                             : std::clamp<std::size_t>(std::size_t(20.0 / estimate), 1, 50);
                std::size_t equal = 0;
                t.start();
                for (std::size_t i = 0; i < runs; ++i) {
                    QStringList expected;
                    reference.prepare(city.maxStreet, rows, city.oneWayEntries);
                    reference.find(legs[i].first, legs[i].second, expected);
                    QStringList actual;
                    for (const StreetRoute& r : results[i])
                        actual << r.text();
                    equal += actual == expected ? 1 : 0;
                }
                const double perLeg = msSince(t) / double(runs);
                referencePerStreetCubed = perLeg / 1000.0 / streetsCubed;
                referenceText = QString::number(perLeg, 'f', 1);
                equalText = QStringLiteral("%1/%2").arg(equal).arg(runs);
            } else {
                referenceText = QStringLiteral("~%1 s").arg(estimate, 0, 'f', 0);
            }
            std::printf("%-7s %6d %7zu %9.2f %9.1f %9.1f %10.4f %10.4f %10.4f %9s %8.1f %9s\n",
                        layout == GeneratedCity::Layout::Grid ? "grid" : "sparse", int(graph.nodes().size()),
                        graph.linkCount(), percentile(builds, 0.5), double(graph.memoryBytes()) / 1024.0,
                        double(candidates) / double(legs.size()), oursAverage, percentile(ours, 1.0),
                        oursLimited, qPrintable(referenceText), double(queries) / double(legs.size()),
                        qPrintable(equalText));
        }
    }
    std::printf(
        "build: the graph from the map's points; ours 30: with the 30 candidates the measurement "
        "uses;\nreference: the matrix rebuilt and searched per leg (~ an estimate where it was not "
        "run);\nqueries: what the reference measurement asks the database per leg, ours asks none.\n");
}

int measureOnTheBenchmarkCity(const QString& folder)
{
    TestDatabase db;
    QElapsedTimer t;
    t.start();
    if (!LoadBenchCity(db, folder))
        return 1;
    std::printf("\nBenchmark city generated and loaded in %.1f s\n", msSince(t) / 1000.0);
    TestWorkstation ws(db.serverSettings());
    if (!ws.connect())
        return 1;

    t.start();
    QString error;
    const auto points = MapPointsLoader::load(ws.dani->RIZNE, 0, {}, &error);
    const double pointsMs = msSince(t);
    t.start();
    const auto streets = StreetDirectoryLoader::load(*ws.dani, &error);
    const double streetsMs = msSince(t);
    if (!points || !streets) {
        std::printf("load failed: %s\n", qPrintable(error));
        return 1;
    }
    const QStringList oneWay = tarifListEntries(db, QStringLiteral("ODNOSTORONNI_VULICI"));
    StreetNetwork network;
    t.start();
    const OneWayPassages read = network.build(*streets, *points, oneWay);
    const double buildMs = msSince(t);
    std::printf("map points %d read in %.1f ms, streets %d in %.1f ms (one query), network built in %.2f ms "
                "(graph %.1f KB, street points %.1f KB), %zu one-way passages\n",
                points->count(), pointsMs, streets->size(), streetsMs, buildMs,
                double(network.graph().memoryBytes()) / 1024.0,
                double(network.streetPoints().memoryBytes()) / 1024.0, read.passages().size());

    // The map put in force as at log-in, with the one-way list and coefficients of the
    // settings; step 2 of the order form measures through it.
    ws.store.setValue(SettingKeys::kOneWayStreetsGroup, SettingKeys::kOneWayStreets,
                      oneWay.join(QLatin1Char('\n')));
    ws.store.setValue(SettingKeys::kCoefficientsGroup, SettingKeys::kDistanceCoefficients,
                      tarifListEntries(db, QStringLiteral("KOEFICIENT")).join(QLatin1Char('\n')));
    MapSettings scale;
    scale.length = QStringLiteral("100");
    scale.pixelsPerCm = QStringLiteral("50");
    ws.map->adopt(scale, {}, *points, *streets);
    const MapRouteMeasuring stepTwo(*ws.map, ws.store);

    std::vector<RouteItem> houses;
    for (const auto& row : db.exec(QStringLiteral("SELECT KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS FROM "
                                                  "KARTA_MISTA WHERE KOORD_KART_MISTA_STATUS = 'БУДИНОК'"))
                               .rows)
        if (const auto item =
                RouteItem::parse(row[1].toString() + QStringLiteral("<%1>").arg(row[0].toInt())))
            houses.push_back(*item);
    std::mt19937 rng(3);
    std::uniform_int_distribution<std::size_t> pick(0, houses.size() - 1);
    std::vector<double> times;
    int complete = 0;
    std::size_t referenceQueryCount = 0;
    double kilometres = 0.0;
    const int routes = 1000;
    for (int i = 0; i < routes; ++i) {
        const QList<RouteItem> route{houses[pick(rng)], houses[pick(rng)], houses[pick(rng)]};
        t.start();
        const MeasuredRoute m = stepTwo.measure(route);
        times.push_back(msSince(t));
        complete += m.unmeasuredLegs == 0 && m.note.isEmpty() ? 1 : 0;
        kilometres += QString(m.distance).replace(QLatin1Char(','), QLatin1Char('.')).toDouble() / routes;
        for (int leg = 0; leg < 2; ++leg) {
            const LegStreets s =
                legStreets(network.legEnd(MapRouteMeasuring::routePoint(route[leg]), *points),
                           network.legEnd(MapRouteMeasuring::routePoint(route[leg + 1]), *points));
            referenceQueryCount +=
                referenceQueries(FindStreetRoutes(network.graph(), s.start, s.destination));
        }
    }
    std::printf("three-point routes of houses measured as on step 2 of the order form, %d: median %.3f ms, "
                "99th percentile %.3f ms, "
                "max %.3f ms (target under 10 ms); %d of them complete, %.2f km on average;\n"
                "database queries per route: ours 0, the reference measurement %.1f\n",
                routes, percentile(times, 0.5), percentile(times, 0.99), percentile(times, 1.0), complete,
                kilometres, double(referenceQueryCount) / routes);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);
    searchOnGeneratedCities();
    return measureOnTheBenchmarkCity(work.path());
}
