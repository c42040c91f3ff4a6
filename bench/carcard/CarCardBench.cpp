// Opening the car card on the benchmark city: the driver's details, the stand and
// object tick list of 5,000 map points, the cars on air and the car's other drivers.
#include "common/BenchCity.h"
#include "common/BenchSetup.h"
#include "common/Stopwatch.h"
#include "dispatch/DispatchContext.h"
#include "fleet/CarCard.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);
    TestDatabase db;
    if (!LoadBenchCity(db, work.path()))
        return 1;
    TestWorkstation ws(db.serverSettings());
    if (!ws.connect())
        return 1;
    FixedClock clock(BenchCityNow());
    DispatchContext ctx{*ws.dani, ws.store, ws.prompts, clock, *ws.map, QStringLiteral("Бенчмарк"), {}};
    CarCard card(ctx);

    const FbRows cars = db.exec(QStringLiteral("SELECT FIRST 50 ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO GROUP BY "
                                               "ZAD_AVTO_POZIVNIY"));
    if (cars.isEmpty())
        return 1;
    card.loadWithoutShowing(cars.rows[0][0].toLongLong()); // warm the statement cache
    std::vector<double> wall;
    for (const auto& row : cars.rows) {
        const Stopwatch run;
        card.loadWithoutShowing(row[0].toLongLong());
        wall.push_back(run.wallMs());
        if (card.details().callsign != row[0].toString())
            return 1;
    }
    std::vector<double> details;
    for (const auto& row : cars.rows) {
        const Stopwatch run;
        ShowDriverDetails(ctx, row[0].toLongLong());
        details.push_back(run.wallMs());
    }
    std::sort(details.begin(), details.end());
    std::sort(wall.begin(), wall.end());
    std::printf("of which ShowDriverDetails: median %.2f ms\n", details[details.size() / 2]);
    std::printf(
        "Car card open: median %.2f ms, worst %.2f ms over %zu cars, %lld tick items  target < 30 ms\n",
        wall[wall.size() / 2], wall.back(), wall.size(), qlonglong(card.details().objects.size()));
    return wall[wall.size() / 2] < 30.0 ? 0 : 1;
}
