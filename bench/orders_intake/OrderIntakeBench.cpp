// The order form's hot paths: the client search when a call comes in, with 50,000
// clients on the embedded engine (target under 50 ms; it looks the number up among the
// telephones' suffixes); the price recalculation after a changed figure (under 10 µs);
// saving a batch of 10 orders (under 50 ms).
#include "common/BenchClients.h"
#include "common/BenchSetup.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "orders/intake/ClientCardEditor.h"
#include "orders/intake/ClientLookup.h"
#include "orders/intake/OrderIntake.h"
#include "orders/intake/Price.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kClients = 50000;

struct Figures
{
    double median;
    double worst;
};

template <typename F> Figures measure(int rounds, F&& run)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        run(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

} // namespace

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);

    TestDatabase db;
    QElapsedTimer load;
    load.start();
    loadBenchClients(db, kClients);
    std::printf("%d clients loaded in %.1f s\n", kClients, double(load.elapsed()) / 1000);

    TestWorkstation ws(db.serverSettings());
    if (!ws.connect())
        return 1;
    SystemClock clock;
    DispatchContext ctx{*ws.dani, ws.store, ws.prompts, clock, *ws.map, QStringLiteral("Бенчмарк"), {}};

    // The client search on an incoming number, as the call opens the form: the filter
    // and the query of the client list, every row fetched.
    ClientLookup lookup(*ws.dani, ws.prompts);
    const QStringList callers = {QStringLiteral("+38 067 0007919"), QStringLiteral("0670015838"),
                                 QStringLiteral("330042"), QStringLiteral("0509999999")};
    int found = 0;
    const Figures search = measure(40, [&](int i) {
        lookup.filterByCaller(callers[i % callers.size()]);
        lookup.requery();
        found += lookup.list().recordCount();
    });
    std::printf(
        "client search on an incoming number (%d clients): median %.2f ms, worst %.2f ms (target < 50 ms; "
        "%d rows found in all)\n",
        kClients, search.median, search.worst, found);

    // For comparison, searches that read every client: a name, and a code assignment.
    const Figures byName = measure(10, [&](int i) {
        lookup.filterByName(QStringLiteral("номер 4999") + QString::number(i));
        lookup.requery();
    });
    std::printf("client search by name, LIKE over every client: median %.2f ms, worst %.2f ms\n",
                byName.median, byName.worst);
    ClientCardEditor editor(*ws.dani, ws.store, ws.prompts, clock, lookup);
    const Figures assign = measure(10, [&](int) { editor.assignCode(); });
    std::printf("client code assignment (%d codes read): median %.2f ms, worst %.2f ms\n", kClients,
                assign.median, assign.worst);

    // Price recalculation: every figure parsed, every amount cut and shown.
    PriceInput in;
    in.tariffChosen = true;
    in.prices = {QStringLiteral("15"), QStringLiteral("4,2"), QStringLiteral("8"), QStringLiteral("10"),
                 QStringLiteral("1,5")};
    in.kmInTown = QStringLiteral("12,37");
    in.kmOutOfTown = QStringLiteral("3.5");
    in.waitingMinutes = QStringLiteral("4");
    in.preliminary = true;
    in.vatPercent = QStringLiteral("20");
    in.personalDiscount = QStringLiteral("5");
    in.promotionalDiscount = QStringLiteral("7,5");
    in.jubileeLimit = QStringLiteral("30");
    constexpr int kPrices = 200000;
    QElapsedTimer priceTimer;
    priceTimer.start();
    qsizetype sink = 0;
    for (int i = 0; i < kPrices; ++i) {
        in.jubilee = i % 2 == 0;
        sink += Price::recalculate(in).sumToPay.size();
    }
    std::printf("price recalculation: %.2f µs each (target < 10 µs; %lld)\n",
                double(priceTimer.nsecsElapsed()) / 1e3 / kPrices, static_cast<long long>(sink));

    // Saving a batch of 10 orders: ten INSERTs and the commit.
    ws.store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kAverageSpeed, QStringLiteral("40"));
    db.exec(QStringLiteral(
        "INSERT INTO TARIFI (TARIF_NAME, TARIF_PRIINYATTA_ZAMOVL, TARIF_KM_MISTO, TARIF_KM_ZA_MISTO, "
        "TARIF_CINA_POPERED_ZAMOVL, TARIF_HV_PROSTOU) VALUES ('Місто', 15, 4.2, 8, 10, 1.5)"));
    OrderIntake intake(ctx);
    const Figures batch = measure(20, [&](int) {
        intake.startCreate();
        intake.addRouteItem(*RouteItem::building(QStringLiteral("вул. Ринкова"), QStringLiteral("1"),
                                                 QStringLiteral("кв.2"), 5));
        intake.addRouteItem(*RouteItem::named(QStringLiteral("Вокзал"), 7));
        intake.enterLastStep(QStringLiteral("6,5"));
        intake.chooseTariff(QStringLiteral("Місто"));
        intake.setTripCount(QStringLiteral("10"));
        ws.prompts.answerQuestion(true);
        if (intake.save() != OrderIntake::SaveOutcome::Saved)
            std::printf("a batch was not saved\n");
    });
    std::printf("saving a batch of 10 orders: median %.2f ms, worst %.2f ms (target < 50 ms; %lld orders)\n",
                batch.median, batch.worst,
                static_cast<long long>(db.scalar(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA"))));
    return 0;
}
