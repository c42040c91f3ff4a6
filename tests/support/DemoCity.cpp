#include "support/DemoCity.h"

#include "citymap/CityMapData.h"
#include "citymap/MapPointsLoader.h"
#include "citymap/StreetDirectoryLoader.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <gtest/gtest.h>

void copyDemoTables(TestDatabase& db, const QStringList& tables)
{
    QFile demo(TestDatabase::sourceFile(QStringLiteral("db/demo.sql")));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    for (const QString& line : QString::fromUtf8(demo.readAll()).split(QLatin1Char('\n')))
        for (const QString& table : tables)
            if (line.startsWith(QLatin1String("INSERT INTO ") + table + QLatin1Char(' ')))
                db.exec(line.trimmed().chopped(1)); // without the ";"
}

std::optional<MapHouse> firstHouseOn(TestDatabase& db, const QString& street)
{
    const FbRows rows =
        db.exec(QStringLiteral("SELECT FIRST 1 KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS FROM KARTA_MISTA "
                               "WHERE KOORD_KART_MISTA_PIDPIS STARTING WITH %1 ORDER BY KOORD_KART_MISTA_NP")
                    .arg(sql::text(QLatin1Char('[') + street + QStringLiteral("]{"))));
    if (rows.rowCount() != 1)
        return std::nullopt;
    return MapHouse{rows.rows[0][0].toInt(), rows.rows[0][1].toString()};
}

void DemoCitySuite::SetUpTestSuite()
{
    DatabaseSuite::SetUpTestSuite();
    copyDemoTables(
        *db, {QStringLiteral("VULICA_LUCK"), QStringLiteral("KARTA_MISTA"), QStringLiteral("SET_TARIFI")});
}

void putMapInForce(TDANI& dani, CityMapData& map, const QString& metresPerCm, const QString& pixelsPerCm)
{
    QString error;
    auto points = MapPointsLoader::load(dani.RIZNE, 0, {}, &error);
    ASSERT_TRUE(points.has_value()) << error.toStdString();
    auto streets = StreetDirectoryLoader::load(dani, &error);
    ASSERT_TRUE(streets.has_value()) << error.toStdString();
    MapSettings scale;
    scale.length = metresPerCm;
    scale.pixelsPerCm = pixelsPerCm;
    map.adopt(scale, {}, std::move(*points), std::move(*streets));
}
