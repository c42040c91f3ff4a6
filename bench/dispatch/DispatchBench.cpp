// Dispatch operations on a city the size of a busy dispatch room: 200 stands, 5,000 map
// points, 500 drivers on air (half GPRS), 1,000 open orders and 20,000 orders in the
// working day, made by the demo city generator (needs python3) and loaded into a fresh
// embedded database.
#include "common/BenchCity.h"
#include "common/BenchSetup.h"
#include "dispatch/AutoDistribution.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/HotOrders.h"
#include "dispatch/ListRefresh.h"
#include "dispatch/NearestStand.h"
#include "foundation/SettingKeys.h"
#include "foundation/fb/SqlScript.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);

    TestDatabase db;
    QElapsedTimer load;
    load.start();
    if (!LoadBenchCity(db, work.path()))
        return 1;
    std::printf("city generated and loaded in %.1f s\n", msSince(load) / 1000);

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

    // All lists: the dispatch page, then the executed and deleted pages of the working day.
    ws.view.state.driversGroupVisible = true;
    // The working day: from the roll call at 07:00 of the city's day to the next one.
    ws.view.state.from = clock.now().date();
    ws.view.state.to = clock.now().date().addDays(1);
    std::vector<double> refresh;
    for (int round = 0; round < 10; ++round) {
        for (FbDataSet* list :
             {&dani.TABL_AKTIV_ZAMOVL, &dani.TABL_VIKON_ZAMOVL, &dani.TABL_DELETE_ZAMOVL,
              &dani.TABL_ZADIANI_AVTO, &dani.TABLE_ZADIANI_AVTO_GROUP, &dani.TABL_DIY_VODY_GPRS})
            list->close();
        QElapsedTimer t;
        t.start();
        for (int page : {0, 1, 2}) {
            ws.view.state.mainPage = page;
            RefreshLists(ctx);
        }
        refresh.push_back(msSince(t));
    }
    std::sort(refresh.begin(), refresh.end());
    for (int page : {0, 1, 2}) { // where the time goes
        for (FbDataSet* list :
             {&dani.TABL_AKTIV_ZAMOVL, &dani.TABL_VIKON_ZAMOVL, &dani.TABL_DELETE_ZAMOVL,
              &dani.TABL_ZADIANI_AVTO, &dani.TABLE_ZADIANI_AVTO_GROUP, &dani.TABL_DIY_VODY_GPRS})
            list->close();
        ws.view.state.mainPage = page;
        QElapsedTimer t;
        t.start();
        RefreshLists(ctx);
        std::printf("  page %d: %.1f ms\n", page, msSince(t));
    }
    for (int page : {0, 1, 2}) {
        ws.view.state.mainPage = page;
        RefreshLists(ctx);
    }
    std::printf("RefreshLists of all lists: median %.1f ms (open %d, executed %d, drivers %d, stands %d)  "
                "target < 100 ms\n",
                refresh[refresh.size() / 2], dani.TABL_AKTIV_ZAMOVL.recordCount(),
                dani.TABL_VIKON_ZAMOVL.recordCount(), dani.TABL_ZADIANI_AVTO.recordCount(),
                dani.TABLE_ZADIANI_AVTO_GROUP.recordCount());

    // Nearest stand for the pick-ups of the open orders.
    QStringList pickups;
    for (int row = 1; row <= dani.TABL_AKTIV_ZAMOVL.recordCount() && pickups.size() < 300; ++row)
        pickups << dani.TABL_AKTIV_ZAMOVL.valueAt(row, QStringLiteral("ZAMOVL_POCHAT_PUNKT")).toString();
    QElapsedTimer nearest;
    nearest.start();
    int found = 0;
    for (const QString& pickup : pickups)
        found += FindNearestStand(ctx, pickup, DistributionMode::kNone).isEmpty() ? 0 : 1;
    std::printf("FindNearestStand: %.3f ms per pick-up over %lld pick-ups (%d found; two queries each: the "
                "address and "
                "the candidate stands with their points)  target < 1 ms beyond its query\n",
                msSince(nearest) / double(pickups.size()), qlonglong(pickups.size()), found);

    // Automatic distribution of 200 hot orders.
    QList<DataModuleView::HotOrderLine> hot = ListHotOrders(ctx);
    if (hot.size() > 200)
        hot = hot.mid(0, 200);
    ws.prompts.answerQuestion(true);
    QElapsedTimer distribution;
    distribution.start();
    const int handed = DistributeHotOrders(ctx, hot);
    const double total = msSince(distribution);
    std::printf(
        "DistributeHotOrders: %lld hot orders, %d handed out, %.0f ms in all, %.2f ms per order, %.2f ms per "
        "assignment  target < 5 ms per assignment\n",
        qlonglong(hot.size()), handed, total, total / std::max<qsizetype>(1, hot.size()),
        handed ? total / handed : 0.0);
    return 0;
}
