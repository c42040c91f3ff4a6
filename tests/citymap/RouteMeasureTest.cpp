#include "citymap/RouteMeasure.h"
#include "citymap/DistanceCoefficient.h"
#include "citymap/LegStreets.h"
#include "citymap/StreetNetwork.h"
#include "citymap/MapPoints.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// A small town, 2 metres per map unit:
//
//   y=100  вул. Перша (1)   (150,100)-x-----(200 Аптека)-------------x(500,100)
//                                     |                              |
//                         вул. Обхідна (4)                 вул. Друга (2)
//                                     |                              |
//   y=400  вул. Третя (3)   (150,400)-x--------(300 Школа)-----------x(500,400)
//
// Houses have no street numbers; their street is in the route item.
class SmallTown : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StreetDirectory streets;
        streets.add(1, QStringLiteral("вул. Перша"));
        streets.add(2, QStringLiteral("вул. Друга"));
        streets.add(3, QStringLiteral("вул. Третя"));
        streets.add(4, QStringLiteral("вул. Обхідна"));
        streets.add(5, QStringLiteral("вул. Порожня")); // not on the map
        points.growTo(12);
        points.set(1, {500, 100, {1, 2, 0, 0, 0}});
        points.set(2, {500, 400, {2, 3, 0, 0, 0}});
        points.set(3, {150, 100, {1, 4, 0, 0, 0}});
        points.set(4, {150, 400, {4, 3, 0, 0, 0}});
        points.set(5, {200, 100, {1, 0, 0, 0, 0}}); // Аптека
        points.set(6, {300, 400, {3, 0, 0, 0, 0}}); // Школа
        points.set(7, {160, 110, {}});              // [вул. Перша]{5}
        points.set(8, {310, 410, {}});              // [вул. Третя]{7}
        points.set(9, {480, 95, {}});               // [вул. Перша]{9}
        points.set(10, {0, 0, {}});                 // [вул. Друга]{1}, not placed
        points.set(11, {90, 90, {}});               // [вул. Порожня]{2}
        network.build(streets, points, oneWay);
    }

    static RoutePoint house(const char* street, const char* number, int mapPoint)
    {
        const QString name = QString::fromUtf8(street);
        return {QStringLiteral("[%1]{%2}<%3>").arg(name, QString::fromUtf8(number)).arg(mapPoint), true, name,
                mapPoint};
    }
    static RoutePoint object(const char* name, int mapPoint)
    {
        return {QString::fromUtf8(name) + QStringLiteral("<%1>").arg(mapPoint), false, {}, mapPoint};
    }
    RouteMeasurement measure(const QList<RoutePoint>& route, std::optional<double> scale = 2.0,
                             const QStringList& coefficients = {})
    {
        return MeasureRoute(route, network, points, scale, coefficients);
    }

    QStringList oneWay;
    MapPoints points;
    StreetNetwork network;
    const RoutePoint persha5 = house("вул. Перша", "5", 7);
    const RoutePoint tretia7 = house("вул. Третя", "7", 8);
    const RoutePoint persha9 = house("вул. Перша", "9", 9);
};

double hypot2(double dx, double dy)
{
    return std::hypot(dx, dy);
}

} // namespace

TEST_F(SmallTown, OneStreetIsMeasuredBetweenTheAnchorsPlusTheTwoApproaches)
{
    const RouteMeasurement m = measure({persha5, persha9});
    ASSERT_EQ(m.legs.size(), 1u);
    ASSERT_TRUE(m.legs[0].measured);
    EXPECT_EQ(m.legs[0].best.text(), QStringLiteral("{1}[1]"));
    // Anchors: (150,100) for house 5 and (500,100) for house 9.
    const double expected = 350.0 + hypot2(10, 10) + hypot2(20, 5);
    EXPECT_NEAR(m.legs[0].length, expected, 1e-9);
    EXPECT_NEAR(*m.kilometres, expected * 2.0 / 1000.0, 1e-12);
    EXPECT_TRUE(m.complete());
    EXPECT_EQ(m.lines, (QStringList{QStringLiteral("Початковий пункт = [вул. Перша]{5}"),
                                    QStringLiteral("Пункт призначення = [вул. Перша]{9}"), QString(30, '='),
                                    QStringLiteral("    "), QStringLiteral("[1] відрізок ....."),
                                    QStringLiteral("від ... [вул. Перша]{5}<7>"),
                                    QStringLiteral("... до  [вул. Перша]{9}<9>"), QString(16, '*'),
                                    QStringLiteral("   вул. Перша")}));
}

TEST_F(SmallTown, TheShortestCandidateWinsEvenWhenItIsNotTheFirst)
{
    const RouteMeasurement m = measure({persha5, tretia7});
    ASSERT_TRUE(m.legs[0].measured);
    // {2}[1][2][3] comes first but is longer than the way round by вул. Обхідна.
    EXPECT_EQ(m.legs[0].best.text(), QStringLiteral("{2}[1][4][3]"));
    // (150,100) is the anchor and the crossing with Обхідна at once; then (150,400) and
    // the anchor (300,400) of house 7.
    EXPECT_NEAR(m.legs[0].length, 0.0 + 300.0 + 150.0 + hypot2(10, 10) + hypot2(10, 10), 1e-9);
    EXPECT_EQ(m.lines.mid(8), (QStringList{QStringLiteral("   вул. Перша"), QStringLiteral("   вул. Обхідна"),
                                           QStringLiteral("   вул. Третя")}));
}

TEST_F(SmallTown, ThreePointsGiveTwoLegsAndTheirSum)
{
    const RouteMeasurement m = measure({persha5, tretia7, persha9});
    ASSERT_EQ(m.legs.size(), 2u);
    EXPECT_TRUE(m.lines.contains(QStringLiteral("[1] відрізок .....")));
    EXPECT_TRUE(m.lines.contains(QStringLiteral("[2] відрізок .....")));
    EXPECT_EQ(m.lines.at(1), QStringLiteral("Пункт призначення = [вул. Перша]{9}"));
    EXPECT_NEAR(m.mapUnits, m.legs[0].length + m.legs[1].length, 1e-9);
    // Back from вул. Третя: by Друга is shorter to house 9 near (500,100).
    EXPECT_EQ(m.legs[1].best.text(), QStringLiteral("{2}[3][2][1]"));
}

TEST_F(SmallTown, AnObjectMeasuresFromItsOwnPoint)
{
    // Аптека lies on вул. Перша itself: it is its own anchor.
    const RouteMeasurement m = measure({object("Аптека", 5), persha9});
    ASSERT_TRUE(m.legs[0].measured);
    EXPECT_EQ(m.legs[0].best.text(), QStringLiteral("{1}[1]"));
    EXPECT_NEAR(m.legs[0].length, 300.0 + 0.0 + hypot2(20, 5), 1e-9);
    EXPECT_EQ(m.lines.first(), QStringLiteral("Початковий пункт = Аптека"));
}

TEST_F(SmallTown, ARouteFromAPointToItselfMeasuresZero)
{
    const RouteMeasurement m = measure({object("Аптека", 5), object("Аптека", 5)});
    ASSERT_TRUE(m.legs[0].measured);
    EXPECT_EQ(m.legs[0].length, 0.0);
    EXPECT_EQ(m.kilometresText, QStringLiteral("0"));
}

TEST_F(SmallTown, APointWithoutAnAnchorLeavesItsLegUnmeasuredAndSaysSo)
{
    const RouteMeasurement m = measure({persha5, house("вул. Порожня", "2", 11), persha9});
    ASSERT_EQ(m.legs.size(), 2u);
    EXPECT_FALSE(m.legs[0].measured);
    EXPECT_FALSE(m.legs[1].measured);
    EXPECT_FALSE(m.complete());
    EXPECT_EQ(m.mapUnits, 0.0);
    EXPECT_EQ(
        m.lines.filter(QStringLiteral("Відрізок не виміряно: вулиця пункту \"[вул. Порожня]{2}\"")).size(),
        2);

    const RouteMeasurement unplaced = measure({persha5, house("вул. Друга", "1", 10), persha9});
    EXPECT_FALSE(unplaced.complete());
    EXPECT_EQ(unplaced.lines.filter(QStringLiteral("не має місця на карті")).size(), 2);

    const RouteMeasurement offMap = measure({persha5, house("вул. Друга", "1", 0)});
    EXPECT_FALSE(offMap.complete());
}

TEST_F(SmallTown, ALegWithoutAWayOverTheStreetsIsUnmeasured)
{
    // Перша may not be left onto either street that leads to Третя.
    network.setOneWayEntries({QStringLiteral("[1]->[2]"), QStringLiteral("[1]->[4]")});
    const RouteMeasurement m = measure({persha5, tretia7, persha9});
    EXPECT_FALSE(m.legs[0].measured);
    EXPECT_TRUE(m.legs[1].measured);
    EXPECT_TRUE(m.lines.contains(QStringLiteral(
        "   Відрізок не виміряно: між вулицями пунктів не знайдено проїзду; кілометри вкажіть вручну.")));
    EXPECT_NEAR(m.mapUnits, m.legs[1].length, 1e-9);
}

TEST_F(SmallTown, WithoutAMapScaleThereIsNoDistance)
{
    const RouteMeasurement m = measure({persha5, persha9}, std::nullopt);
    EXPECT_TRUE(m.legs[0].measured);
    EXPECT_FALSE(m.kilometres.has_value());
    EXPECT_TRUE(m.kilometresText.isEmpty());
    EXPECT_TRUE(m.lines.last().startsWith(QStringLiteral("Масштаб карти не задано")));
    EXPECT_FALSE(measure({persha5, persha9}, 0.0).kilometres.has_value());
}

TEST_F(SmallTown, TheCoefficientOfTheRangeMultipliesTheRoute)
{
    const QStringList coefficients{QStringLiteral("ВІДСТАНЬ [0](3){1,5} короткі поїздки")};
    const RouteMeasurement plain = measure({persha5, persha9});
    const RouteMeasurement m = measure({persha5, persha9}, 2.0, coefficients);
    EXPECT_EQ(m.factor, 1.5);
    EXPECT_NEAR(*m.kilometres, *plain.kilometres * 1.5, 1e-12);
    // A route of exactly 0 km is not in (0, 3].
    const RouteMeasurement zero = measure({object("Аптека", 5), object("Аптека", 5)}, 2.0, coefficients);
    EXPECT_EQ(zero.factor, 0.0);
    EXPECT_EQ(*zero.kilometres, 0.0);
}

TEST_F(SmallTown, FewerThanTwoPointsMeasureNothing)
{
    const RouteMeasurement m = measure({persha5});
    EXPECT_TRUE(m.lines.isEmpty());
    EXPECT_TRUE(m.legs.empty());
    EXPECT_FALSE(m.complete());
}

TEST_F(SmallTown, APointThatArrivesLaterIsAnAnchorAndACrossing)
{
    // A new crossing of Перша and Третя further west, nearer to both houses.
    points.growTo(13);
    points.set(12, {140, 105, {3, 1, 0, 0, 0}});
    network.addPoint(12, points.at(12));
    const RouteMeasurement m = measure({persha5, tretia7});
    EXPECT_EQ(m.legs[0].best.text(), QStringLiteral("{1}[1][3]"));
}

TEST(LegStreetsOfRoutePointKinds, ObjectsLeaveOnTheStreetTheyShareWithTheOtherEnd)
{
    const LegEnd building7{true, 7, {}};
    const LegEnd building9{true, 9, {}};
    const LegEnd objectOn3And7{false, 0, {3, 7, 0, 0, 0}};
    const LegEnd objectOn4{false, 0, {4, 0, 0, 0, 0}};
    const auto streets = [](const LegEnd& p, const LegEnd& q) {
        const LegStreets s = legStreets(p, q);
        return std::pair(s.start, s.destination);
    };
    EXPECT_EQ(streets(building7, building9), std::pair(7, 9));
    EXPECT_EQ(streets(building7, objectOn3And7), std::pair(7, 7));
    EXPECT_EQ(streets(building9, objectOn3And7), std::pair(9, 3));
    EXPECT_EQ(streets(objectOn3And7, building7), std::pair(7, 7));
    EXPECT_EQ(streets(objectOn3And7, building9), std::pair(3, 9));
    EXPECT_EQ(streets(objectOn3And7, objectOn4), std::pair(3, 4));
    // A building whose street was not found does not make an object's empty slot "shared".
    EXPECT_EQ(streets({true, 0, {}}, objectOn4), std::pair(0, 4));
}

TEST(DistanceCoefficients, TheLastMatchingRangeCounts)
{
    const QStringList entries{
        QStringLiteral("ВІДСТАНЬ [0](2){1.4} короткі"), QStringLiteral("ВІДСТАНЬ [2](5){1,2} по місту"),
        QStringLiteral("ЧАС [0](100){9} не відстань"), QStringLiteral("ВІДСТАНЬ [4.5](100){1.1} далекі"),
        QStringLiteral("ВІДСТАНЬ [x](100){7} зіпсований")};
    EXPECT_EQ(distanceFactor(entries, 0.0), 0.0);
    EXPECT_EQ(distanceFactor(entries, 2.0), 1.4);
    EXPECT_EQ(distanceFactor(entries, 2.01), 1.2);
    EXPECT_EQ(distanceFactor(entries, 4.6), 1.1);
    EXPECT_EQ(distanceFactor(entries, 101.0), 0.0);
    EXPECT_EQ(distanceFactor({}, 1.0), 0.0);
}

TEST(ShortestDecimal, AsTheWorkstationShowsNumbers)
{
    EXPECT_EQ(shortestDecimal(12.5), QStringLiteral("12,5"));
    EXPECT_EQ(shortestDecimal(3.0), QStringLiteral("3"));
    EXPECT_EQ(shortestDecimal(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(shortestDecimal(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(shortestDecimal(-0.0), QStringLiteral("0"));
}

TEST(StreetNames, LastRowForANameFirstRowForANumber)
{
    StreetDirectory streets;
    streets.add(3, QStringLiteral("вул. Лугова"));
    streets.add(8, QStringLiteral("вул. Лугова"));
    streets.add(8, QStringLiteral("вул. Садова"));
    streets.add(2, QString());
    EXPECT_EQ(streets.numberOf(QStringLiteral("вул. Лугова")), 8);
    EXPECT_EQ(streets.numberOf(QStringLiteral("вул. Лугова  ")), 8);
    EXPECT_EQ(streets.numberOf(QStringLiteral("вул. лугова")), 0);
    EXPECT_EQ(streets.numberOf(QStringLiteral("")), 0);
    EXPECT_EQ(streets.nameOf(8), QStringLiteral("вул. Лугова"));
    EXPECT_EQ(streets.nameOf(4), QString());
    EXPECT_EQ(streets.maxNumber(), 8);
}

TEST(StreetPoints, PlacedPointsOnlyAndTheLowestNumberOnTies)
{
    MapPoints points;
    points.growTo(6);
    points.set(1, {0, 300, {1, 2, 0, 0, 0}});   // not placed
    points.set(2, {100, 300, {2, 1, 0, 0, 0}}); // the crossing of 1 and 2
    points.set(3, {300, 100, {1, 2, 2, 0, 0}}); // a second crossing, named twice
    points.set(4, {200, 200, {1, 0, 0, 0, 0}});
    points.set(5, {0, 0, {}});
    StreetPointIndex index;
    index.build(points);
    ASSERT_EQ(index.pointsOf(1).size(), 3u);
    EXPECT_EQ(index.pointsOf(2).size(), 2u);
    EXPECT_EQ(index.crossing(1, 2)->number, 2);
    EXPECT_EQ(index.crossing(2, 1)->number, 2);
    EXPECT_EQ(index.crossing(2, 2), nullptr);
    // (200,200) is as far from (100,300) as from (300,100): the lower number wins.
    EXPECT_EQ(index.nearestOn(2, QPointF(200, 200))->number, 2);
    EXPECT_EQ(index.nearestOn(1, QPointF(210, 190))->number, 4);
    EXPECT_EQ(index.nearestOn(7, QPointF(1, 1)), nullptr);
}
