#include "TarifLines.h"
#include "citymap/FindStreetRoutes.h"
#include "citymap/MapPointsLoader.h"
#include "citymap/RouteMeasure.h"
#include "citymap/StreetDirectoryLoader.h"
#include "citymap/StreetNetwork.h"
#include "foundation/SqlLiteral.h"
#include "support/DatabaseSuite.h"
#include "support/TestWorkstation.h"

#include <QFile>
#include <gtest/gtest.h>

// The demo city's streets, map points and one-way list, loaded as the workstation loads
// them at log-in, measure real routes.
class DemoCityRoutes : public DatabaseSuite
{
protected:
    static void SetUpTestSuite()
    {
        DatabaseSuite::SetUpTestSuite();
        QFile demo(TestDatabase::sourceFile(QStringLiteral("db/demo.sql")));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(demo.readAll()).split(QLatin1Char('\n')))
            for (const char* table : {"VULICA_LUCK", "KARTA_MISTA", "SET_TARIFI"})
                if (line.startsWith(QLatin1String("INSERT INTO ") + QLatin1String(table) + QLatin1Char(' ')))
                    db->exec(line.trimmed().chopped(1)); // without the ";"
    }

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
        const FbRows rows =
            db->exec(QStringLiteral("SELECT FIRST 1 KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS FROM "
                                    "KARTA_MISTA WHERE KOORD_KART_MISTA_PIDPIS STARTING WITH %1 "
                                    "ORDER BY KOORD_KART_MISTA_NP")
                         .arg(sql::text(QLatin1Char('[') + street + QStringLiteral("]{"))));
        EXPECT_EQ(rows.rowCount(), 1) << street.toStdString();
        const int number = rows.rows[0][0].toInt();
        return {rows.rows[0][1].toString() + QStringLiteral("<%1>").arg(number), true, street, number};
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
