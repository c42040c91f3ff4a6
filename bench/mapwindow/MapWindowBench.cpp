// The city map window on the benchmark city (5,000 map points, 500 drivers on air), its
// tiles drawn by the demo map writer and read from disk as at a workstation: a tile
// change with its overlays (the cars at their places) painted, and ShowLabelOnMap of
// the stands; and the street and object search of the order form's first step on each
// keystroke.
#include "DemoMapCity.h"
#include "DemoMapWriter.h"
#include "citymap/ui/TForm8.h"
#include "citymap/window/MapWindowController.h"
#include "common/BenchCity.h"
#include "common/BenchSetup.h"
#include "common/Stopwatch.h"
#include "dispatch/DispatchContext.h"
#include "orders/intake/OrderIntake.h"
#include "orders/intake/RoutePointEntry.h"
#include "platform/BaseFolder.h"
#include "platform/ShellOpen.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double maximum(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);
    TestDatabase db;
    if (!LoadBenchCity(db, work.path()))
        return 1;
    BaseFolder::overrideForTests(work.path());
    {
        const DemoMapCity city = DemoMapCity::read(db.other());
        const QString error =
            DemoMapWriter::write(city, work.path(), QStringLiteral("KARTA"), QSize(1000, 750));
        if (!error.isEmpty()) {
            std::printf("could not draw the map: %s\n", qPrintable(error));
            return 1;
        }
    }
    TestWorkstation ws(db.serverSettings());
    if (!ws.connect())
        return 1;
    FixedClock clock(BenchCityNow());
    DispatchContext ctx{*ws.dani, ws.store, ws.prompts, clock, *ws.map, {}, {}};
    TForm8 window;
    RecordedShellOpen shell;
    MapWindowController controller(ctx, *ws.map, window, shell);
    window.setController(controller);
    window.resize(1200, 720);
    const auto loaded = ws.map->LoadMap();
    if (!loaded.mapSupported) {
        std::printf("the map did not load: %s\n", qPrintable(loaded.failure));
        return 1;
    }
    controller.setViewport(QSize(800, 600));
    const int onAir =
        int(ws.dani->RIZNE.exec(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO")).rows[0][0].toLongLong());

    // Each click crosses into the neighbouring tile: the tile is read from disk, the cars
    // are read and placed, and the picture is painted.
    controller.setStepText(QStringLiteral("1000"));
    std::vector<double> changes;
    for (int round = 0; round < 20; ++round) {
        const int before = controller.placement().view.column;
        const Stopwatch s;
        controller.scroll(round % 4 < 2 ? ScrollDirection::Right : ScrollDirection::Left);
        if (controller.placement().view.column != before)
            changes.push_back(s.wallMs());
    }
    std::printf("map tile change with its overlays painted: median %.1f ms, max %.1f ms over %zu changes "
                "(%d cars on air, %zu texts on the last tile)  target < 30 ms\n",
                median(changes), maximum(changes), changes.size(), onAir, controller.overlays().texts.size());

    // ShowLabelOnMap of stands spread over the city.
    const FbRows stands =
        ws.dani->RIZNE.exec(QStringLiteral("SELECT FIRST 40 ZAD_AVTO_VULICA FROM ZADIANI_AVTO WHERE "
                                           "ZAD_AVTO_VULICA <> '[]{}' GROUP BY ZAD_AVTO_VULICA"));
    std::vector<double> shows;
    for (const auto& row : stands.rows) {
        const Stopwatch s;
        controller.ShowLabelOnMap(row[0].toString());
        shows.push_back(s.wallMs());
    }
    std::printf("ShowLabelOnMap of %zu stands: median %.1f ms, max %.1f ms  target < 50 ms\n", shows.size(),
                median(shows), maximum(shows));

    // The first step's names list as a street name is typed, one keystroke at a time.
    OrderIntake intake(ctx);
    RoutePointEntry entry(ctx, intake);
    std::vector<double> keystrokes;
    std::size_t listed = 0;
    for (const QString& typed :
         {QStringLiteral("вул. Шевченка"), QStringLiteral("Вокзал"), QStringLiteral("пров. С")}) {
        for (qsizetype length = 1; length <= typed.size(); ++length) {
            const Stopwatch s;
            entry.search(typed.left(length));
            keystrokes.push_back(s.wallMs());
            listed = std::max<std::size_t>(listed, std::size_t(entry.names().size()));
        }
    }
    std::printf(
        "first step's names search per keystroke: median %.2f ms, max %.2f ms over %zu keystrokes (up to "
        "%zu names)  target < 10 ms\n",
        median(keystrokes), maximum(keystrokes), keystrokes.size(), listed);
    return 0;
}
