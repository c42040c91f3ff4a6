#include "orders/intake/MapRouteMeasuring.h"

#include "citymap/CityMapData.h"
#include "citymap/RouteMeasure.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/Price.h"
#include "orders/intake/TarifIni.h"
#include "platform/BaseFolder.h"
#include "support/DemoCity.h"
#include "support/TestWorkstation.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The second step of the order form on the demo city: its streets, map points, one-way
// list and distance coefficients, read as the workstation reads them at log-in.
class MapRouteMeasuringTest : public DemoCitySuite
{
protected:
    void SetUp() override
    {
        BaseFolder::overrideForTests(base.path());
        ws = std::make_unique<TestWorkstation>(db->serverSettings());
        ASSERT_TRUE(ws->connect());
        ASSERT_TRUE(TarifIni::regenerateAndLoad(*ws->dani, ws->store).loaded);
        ASSERT_FALSE(ws->store.value(SettingKeys::kDistanceCoefficients).isEmpty());
        useScale(QStringLiteral("100"), QStringLiteral("50")); // 2 metres a map unit
    }
    void TearDown() override
    {
        ws.reset();
        BaseFolder::overrideForTests({});
    }

    // The demo map put in force at this scale, as the map load does it.
    void useScale(const QString& metresPerCm, const QString& pixelsPerCm)
    {
        putMapInForce(*ws->dani, *ws->map, metresPerCm, pixelsPerCm);
        ASSERT_TRUE(ws->map->oneWayWarnings().isEmpty());
    }

    // The first house of a street as the route list holds it.
    RouteItem house(const QString& street) const
    {
        const std::optional<MapHouse> found = firstHouseOn(*db, street);
        EXPECT_TRUE(found.has_value()) << street.toStdString();
        const auto item = found ? RouteItem::parse(found->item()) : std::nullopt;
        EXPECT_TRUE(item.has_value()) << street.toStdString();
        return item ? *item : *RouteItem::offMapText(street);
    }
    QList<RouteItem> threeHouses() const
    {
        return {house(QStringLiteral("вул. Набережна")), house(QStringLiteral("вул. Соборна")),
                house(QStringLiteral("вул. Зарічна"))};
    }
    static double kilometres(const QString& text)
    {
        bool ok = false;
        const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        EXPECT_TRUE(ok) << text.toStdString();
        return value;
    }

    QTemporaryDir base;
    std::unique_ptr<TestWorkstation> ws;
};

TEST_F(MapRouteMeasuringTest, AThreePointRouteListsBothLegsAndTakesTheCoefficientOfItsRange)
{
    const MapRouteMeasuring measuring(*ws->map, ws->store);
    const MeasuredRoute route = measuring.measure(threeHouses());
    EXPECT_EQ(route.unmeasuredLegs, 0);
    EXPECT_TRUE(route.note.isEmpty()) << route.note.toStdString();
    EXPECT_GE(route.elapsedMs, 0);
    EXPECT_TRUE(route.lines.first().startsWith(QStringLiteral("Початковий пункт = [вул. Набережна]{")));
    EXPECT_TRUE(route.lines.contains(QStringLiteral("[1] відрізок .....")));
    EXPECT_TRUE(route.lines.contains(QStringLiteral("[2] відрізок .....")));
    EXPECT_TRUE(route.lines.contains(QStringLiteral("   вул. Соборна")));
    const double km = kilometres(route.distance);
    EXPECT_GT(km, 0.2); // the town is 8 by 6 km
    EXPECT_LT(km, 30.0);

    // The same route without the coefficients: the demo's ranges multiply by 1.4, 1.2 or 1.1.
    SettingsStore bare;
    const double plain = kilometres(MapRouteMeasuring(*ws->map, bare).measure(threeHouses()).distance);
    const double factor = km / plain;
    EXPECT_TRUE(std::abs(factor - 1.4) < 1e-9 || std::abs(factor - 1.2) < 1e-9 ||
                std::abs(factor - 1.1) < 1e-9)
        << factor;
}

TEST_F(MapRouteMeasuringTest, APointWhoseStreetIsNotOnTheMapLeavesItsLegUnmeasuredAndSaysSo)
{
    const QList<RouteItem> full = threeHouses();
    // A house on the map whose street is not in the streets table has no anchor.
    const RouteItem lost =
        *RouteItem::building(QStringLiteral("вул. Неіснуюча"), QStringLiteral("1"), {}, full[2].mapPoint());
    const MapRouteMeasuring measuring(*ws->map, ws->store);
    const MeasuredRoute route = measuring.measure({full[0], full[1], lost});
    EXPECT_EQ(route.unmeasuredLegs, 1);
    EXPECT_TRUE(route.note.contains(QStringLiteral("1 з 2"))) << route.note.toStdString();
    EXPECT_TRUE(route.lines.last().startsWith(QStringLiteral("   Відрізок не виміряно: ")))
        << route.lines.last().toStdString();
    // The first leg still counts, and only it.
    const MeasuredRoute firstLeg = measuring.measure({full[0], full[1]});
    EXPECT_TRUE(firstLeg.note.isEmpty());
    EXPECT_GT(kilometres(firstLeg.distance), 0.0);
    EXPECT_EQ(route.distance, firstLeg.distance);
}

TEST_F(MapRouteMeasuringTest, AMapWithoutAScaleGivesNoDistanceAndSaysSo)
{
    useScale(QStringLiteral("100"), QStringLiteral("0")); // LENGTH_TOCHKA 0: never a division by zero
    const MeasuredRoute route = MapRouteMeasuring(*ws->map, ws->store).measure(threeHouses());
    EXPECT_EQ(route.distance, QStringLiteral("0"));
    EXPECT_EQ(route.unmeasuredLegs, 0);
    EXPECT_TRUE(route.note.startsWith(QStringLiteral("Масштаб карти не задано")));
    EXPECT_TRUE(route.lines.contains(QStringLiteral("[2] відрізок .....")));
}

TEST_F(MapRouteMeasuringTest, ARouteOfOnePointMeasuresNothing)
{
    const MeasuredRoute route = MapRouteMeasuring(*ws->map, ws->store).measure({threeHouses().first()});
    EXPECT_EQ(route.distance, QStringLiteral("0"));
    EXPECT_TRUE(route.lines.isEmpty());
    EXPECT_TRUE(route.note.isEmpty());
}

TEST_F(MapRouteMeasuringTest, AMapPointNumberBeyondTheTableNamesNoPoint)
{
    const RouteItem far = *RouteItem::named(QStringLiteral("Вокзал"), qint64(1) << 40);
    EXPECT_EQ(MapRouteMeasuring::routePoint(far).mapPoint, 0);
    const RouteItem street = threeHouses().first();
    const RoutePoint point = MapRouteMeasuring::routePoint(street);
    EXPECT_TRUE(point.building);
    EXPECT_EQ(point.street, QStringLiteral("вул. Набережна"));
    EXPECT_EQ(point.mapPoint, int(street.mapPoint()));
    EXPECT_EQ(point.text, street.text());
}

TEST_F(MapRouteMeasuringTest, TheOrderFormMeasuresOnEnteringTheSecondStepAndCarriesTheKilometres)
{
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0))};
    DispatchContext ctx{*ws->dani, ws->store, ws->prompts, clock, *ws->map, QStringLiteral("Оля"), {}};
    OrderFormController form(ctx);
    form.open(OrderFormOpening::UncodedOrder);
    for (const RouteItem& item : threeHouses())
        form.order().addRouteItem(item);
    QSignalSpy busy(&form, &OrderFormController::measurementRequested);
    QSignalSpy measured(&form, &OrderFormController::routeMeasured);
    form.next();
    EXPECT_EQ(form.step(), OrderFormController::Step::Measuring);
    EXPECT_EQ(busy.size(), 1);
    ASSERT_EQ(measured.size(), 1);
    const MeasuredRoute& route = form.measuredRoute();
    EXPECT_TRUE(route.lines.contains(QStringLiteral("[2] відрізок .....")));
    EXPECT_NE(route.distance, QStringLiteral("0"));
    form.next();
    EXPECT_EQ(form.step(), OrderFormController::Step::Last);
    EXPECT_EQ(form.order().kmInTown(), Price::measuredKilometres(route.distance));
}
