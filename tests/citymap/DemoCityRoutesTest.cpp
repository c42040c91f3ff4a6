#include "TarifLines.h"
#include "citymap/FindStreetRoutes.h"
#include "citymap/MapPointsLoader.h"
#include "citymap/RouteMeasure.h"
#include "citymap/StreetDirectoryLoader.h"
#include "citymap/StreetNetwork.h"
#include "support/DatabaseSuite.h"
#include "support/DemoCity.h"
#include "support/TestWorkstation.h"

#include <gtest/gtest.h>

// The demo city's streets, map points and one-way list, loaded as the workstation loads
// them at log-in, measure real routes.
class DemoCityRoutes : public DemoCitySuite
{
protected:
    void SetUp() override
    {
        workstation = std::make_unique<TestWorkstation>(db->serverSettings());
        ASSERT_TRUE(workstation->connect());
        QString error;
        const auto loaded = MapPointsLoader::load(workstation->dani->RIZNE, 0, {}, &error);
        ASSERT_TRUE(loaded.has_value()) << error.toStdString();
        points = *loaded;
        const auto streets = StreetDirectoryLoader::load(*workstation->dani, &error);
        ASSERT_TRUE(streets.has_value()) << error.toStdString();
        oneWay = tarifListEntries(*db, QStringLiteral("ODNOSTORONNI_VULICI"));
        const OneWayPassages read = network.build(*streets, points, oneWay);
        EXPECT_TRUE(read.skipped().empty());
        ASSERT_GE(read.passages().size(), 2u);
    }

    // A house of the demo as the route list holds it.
    RoutePoint house(const QString& street) const
    {
        const std::optional<MapHouse> found = firstHouseOn(*db, street);
        EXPECT_TRUE(found.has_value()) << street.toStdString();
        return found ? RoutePoint{found->item(), true, street, found->number} : RoutePoint{};
    }

    std::unique_ptr<TestWorkstation> workstation;
    MapPoints points;
    QStringList oneWay;
    StreetNetwork network;
};

TEST_F(DemoCityRoutes, EveryStreetReachesEveryOtherDespiteTheOneWayPassages)
{
    const StreetDirectory& streets = network.streets();
    ASSERT_GT(streets.maxNumber(), 10);
    for (int from = 1; from <= streets.maxNumber(); ++from)
        for (int to = 1; to <= streets.maxNumber(); ++to)
            EXPECT_FALSE(FindStreetRoutes(network.graph(), from, to, 1).empty()) << from << " -> " << to;
    // The one-way passages are closed in their direction.
    const OneWayPassages read = OneWayPassages::parse(oneWay);
    for (const OneWayPassage& p : read.passages()) {
        EXPECT_FALSE(network.graph().passable(p.from, p.to));
        EXPECT_TRUE(network.graph().passable(p.to, p.from));
    }
}

TEST_F(DemoCityRoutes, AThreePointRouteIsMeasuredLegByLegOverCrossingStreets)
{
    const QList<RoutePoint> route{house(QStringLiteral("вул. Набережна")),
                                  house(QStringLiteral("вул. Соборна")),
                                  house(QStringLiteral("вул. Зарічна"))};
    const RouteMeasurement m = MeasureRoute(route, network, points, 2.0, {});
    ASSERT_TRUE(m.complete()) << m.lines.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(m.legs.size(), 2u);
    for (const RouteMeasurement::Leg& leg : m.legs) {
        EXPECT_GT(leg.length, 0.0);
        for (std::size_t i = 0; i + 1 < leg.best.streets.size(); ++i)
            EXPECT_TRUE(network.graph().passable(leg.best.streets[i], leg.best.streets[i + 1]));
    }
    // The town is 8 by 6 km.
    EXPECT_GT(*m.kilometres, 0.2);
    EXPECT_LT(*m.kilometres, 20.0);
    EXPECT_TRUE(m.lines.contains(QStringLiteral("   вул. Соборна")));
    EXPECT_TRUE(m.lines.contains(QStringLiteral("[2] відрізок .....")));
}

TEST_F(DemoCityRoutes, TheStreetsTableIsReadOnceWithItsNames)
{
    EXPECT_EQ(network.streets().size(), int(db->scalar(QStringLiteral("SELECT COUNT(*) FROM VULICA_LUCK"))));
    const int number = network.streets().numberOf(QStringLiteral("вул. Лук'янівська"));
    ASSERT_GT(number, 0);
    EXPECT_EQ(number, int(db->scalar(QStringLiteral("SELECT SPISOK_VUL_NOMER FROM VULICA_LUCK WHERE "
                                                    "SPISOK_VUL_VULICA = 'вул. Лук''янівська'"))));
    EXPECT_EQ(network.streets().nameOf(number), QStringLiteral("вул. Лук'янівська"));
}
