// Dispatch operations on a city the size of a busy dispatch room: 200 stands, 5,000 map
// points, 500 drivers on air (half GPRS), 1,000 open orders and 20,000 orders in the
// working day, made by the demo city generator (needs python3) and loaded into a fresh
// embedded database. The clock stands at the city's moment, so every run measures the
// same working day. Figures are medians; "cpu" is the time the process worked.
#include "common/BenchCity.h"
#include "common/BenchSetup.h"
#include "common/Stopwatch.h"
#include "dispatch/AutoDistribution.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/HotOrders.h"
#include "dispatch/ListRefresh.h"
#include "dispatch/NearestStand.h"
#include "foundation/SettingKeys.h"
#include "foundation/fb/SqlScript.h"
#include "mainwindow/HandOutCommands.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Figures
{
    std::vector<double> wall, cpu;
    void add(const Stopwatch& s)
    {
        wall.push_back(s.wallMs());
        cpu.push_back(s.cpuMs());
    }
    static double median(std::vector<double> v)
    {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    double wallMedian() const { return median(wall); }
    double cpuMedian() const { return median(cpu); }
};

} // namespace

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);

    TestDatabase db;
    const Stopwatch load;
    if (!LoadBenchCity(db, work.path()))
        return 1;
    std::printf("city generated and loaded in %.1f s\n", load.wallMs() / 1000);

    TestWorkstation ws(db.serverSettings());
    if (!ws.connect())
        return 1;
    FixedClock clock(BenchCityNow());
    ws.useMap(2.0);
    DispatchContext ctx{*ws.dani, ws.store, ws.prompts, clock, *ws.map, QStringLiteral("Бенчмарк"), {}};
    ws.store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kRollCall, QStringLiteral("07:00"));
    ws.store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kPreliminaryLead, QStringLiteral("30"));
    ws.store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kMaxAutoDistance,
                      QStringLiteral("100000"));
    QObject::disconnect(ws.dani.get(), &TDANI::listsClosed, nullptr, nullptr); // lists are opened by hand
    TDANI& dani = *ws.dani;
    const std::vector<FbDataSet*> lists = {&dani.TABL_AKTIV_ZAMOVL,        &dani.TABL_VIKON_ZAMOVL,
                                           &dani.TABL_DELETE_ZAMOVL,       &dani.TABL_ZADIANI_AVTO,
                                           &dani.TABLE_ZADIANI_AVTO_GROUP, &dani.TABL_DIY_VODY_GPRS};

    // All lists: the dispatch page, then the executed and deleted pages of the working day.
    ws.view.state.driversGroupVisible = true;
    ws.view.state.from = clock.now().date(); // from the roll call at 07:00 to the next one
    ws.view.state.to = clock.now().date().addDays(1);
    Figures refresh;
    Figures pages[3];
    for (int round = 0; round < 11; ++round) {
        for (FbDataSet* list : lists)
            list->close();
        const Stopwatch all;
        for (int page : {0, 1, 2}) {
            ws.view.state.mainPage = page;
            const Stopwatch one;
            RefreshLists(ctx);
            pages[page].add(one);
        }
        refresh.add(all);
    }
    std::printf("RefreshLists of all lists: %.1f ms (cpu %.1f)  target < 100 ms\n", refresh.wallMedian(),
                refresh.cpuMedian());
    for (int page : {0, 1, 2})
        std::printf("  page %d: %.1f ms (cpu %.1f)\n", page, pages[page].wallMedian(),
                    pages[page].cpuMedian());
    std::printf("  open %d, executed %lld (%d rows read so far), drivers %d, stands %d\n",
                dani.TABL_AKTIV_ZAMOVL.recordCount(), qlonglong(ws.view.executedCount),
                dani.TABL_VIKON_ZAMOVL.recordCount(), dani.TABL_ZADIANI_AVTO.recordCount(),
                dani.TABLE_ZADIANI_AVTO_GROUP.recordCount());

    // Nearest stand for the pick-ups of the open orders.
    QStringList pickups;
    for (int row = 1; row <= dani.TABL_AKTIV_ZAMOVL.recordCount() && pickups.size() < 300; ++row)
        pickups << dani.TABL_AKTIV_ZAMOVL.valueAt(row, QStringLiteral("ZAMOVL_POCHAT_PUNKT")).toString();
    Figures nearest;
    int found = 0;
    for (int round = 0; round < 5; ++round) {
        found = 0;
        const Stopwatch s;
        for (const QString& pickup : pickups)
            found += FindNearestStand(ctx, pickup, DistributionMode::kNone).isEmpty() ? 0 : 1;
        nearest.add(s);
    }
    // Its query on its own, as FindNearestStand makes it: after a commit.
    Figures query;
    for (int round = 0; round < 5; ++round) {
        const Stopwatch s;
        for (qsizetype i = 0; i < pickups.size(); ++i) {
            dani.TRANZ_FOR_EVENTS.commitIfActive();
            dani.RIZNE_EVENTS.exec(CandidateStandsStatement(DistributionMode::kNone));
        }
        query.add(s);
    }
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const double n = double(std::max<qsizetype>(1, pickups.size()));
    std::printf(
        "FindNearestStand: %.3f ms (cpu %.3f) per pick-up over %lld pick-ups (%d found); its query of the "
        "candidate stands %.3f ms (cpu %.3f), beyond it %.3f ms (cpu %.3f)  target < 1 ms beyond its "
        "query\n",
        nearest.wallMedian() / n, nearest.cpuMedian() / n, qlonglong(pickups.size()), found,
        query.wallMedian() / n, query.cpuMedian() / n, (nearest.wallMedian() - query.wallMedian()) / n,
        (nearest.cpuMedian() - query.cpuMedian()) / n);

    // Hand-out by a click on the first driver shown under an order: from the click (the
    // question answered at once) to the committed assignment.
    {
        ws.view.state.mainPage = 0;
        RefreshLists(ctx);
        HandOutCommands handOut(ctx);
        FbDataSet& orders = dani.TABL_AKTIV_ZAMOVL;
        std::vector<double> clicks;
        for (int row = 1; row <= orders.recordCount() && clicks.size() < 30; ++row) {
            if (orders.valueAt(row, QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong() != 0)
                continue;
            dani.TRANZ_RIZNE.commitIfActive();
            const FbRows free = dani.RIZNE.exec(QStringLiteral(
                "SELECT FIRST 1 ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO WHERE ZAD_AVTO_NOMER_ZAMOVL = 0"));
            dani.TRANZ_RIZNE.commitIfActive();
            if (free.isEmpty())
                break;
            orders.moveTo(row);
            ws.prompts.answerQuestion(true);
            const Stopwatch click;
            const bool handed = handOut.assignFirstDriver(free.rows[0][0].toString(),
                                                          {DataModuleView::OrdersPage::Panels, {}});
            if (handed)
                clicks.push_back(click.wallMs());
        }
        std::sort(clicks.begin(), clicks.end());
        std::printf(
            "hand-out by a click on the first driver: median %.2f ms, max %.2f ms over %zu orders  target "
            "< 20 ms\n",
            clicks.empty() ? 0.0 : clicks[clicks.size() / 2], clicks.empty() ? 0.0 : clicks.back(),
            clicks.size());
    }

    // Automatic distribution of 200 hot orders.
    QList<HotOrdersView::HotOrderLine> hot = ListHotOrders(ctx);
    if (hot.size() > 200)
        hot = hot.mid(0, 200);
    ws.prompts.answerQuestion(true);
    const Stopwatch distribution;
    const int handed = DistributeHotOrders(ctx, hot);
    const double wall = distribution.wallMs();
    const double cpu = distribution.cpuMs();
    std::printf("DistributeHotOrders: %lld hot orders, %d handed out, %.0f ms (cpu %.0f) in all, %.2f ms per "
                "order, %.2f ms (cpu %.2f) per assignment  target < 5 ms per assignment\n",
                qlonglong(hot.size()), handed, wall, cpu, wall / double(std::max<qsizetype>(1, hot.size())),
                handed ? wall / handed : 0.0, handed ? cpu / handed : 0.0);
    return 0;
}
