#pragma once

#include "support/DatabaseSuite.h"

#include <QStringList>
#include <optional>

class CityMapData;
class TDANI;
class TestDatabase;

// Copies the rows of the named tables of the demo city (db/demo.sql) into a test
// database: the streets, the map points and the tariff settings a suite needs, without
// the rest of the demo.
void copyDemoTables(TestDatabase& db, const QStringList& tables);

// A house of a map, as KARTA_MISTA holds it: its point number and its label
// "[" street "]{" house "}"; the route list item is the label followed by "<" number ">".
struct MapHouse
{
    int number = 0;
    QString label;
    QString item() const { return label + QStringLiteral("<%1>").arg(number); }
};

// The lowest-numbered house of a street; none when the street has no house on the map.
std::optional<MapHouse> firstHouseOn(TestDatabase& db, const QString& street);

// A suite on one database holding the demo city's streets, map points and tariff settings.
class DemoCitySuite : public DatabaseSuite
{
protected:
    static void SetUpTestSuite();
};

// Reads the map's points and streets as the map load does and puts them in force at this
// scale (LENGTH metres per centimetre, LENGTH_TOCHKA pixels per centimetre), without tiles.
void putMapInForce(TDANI& dani, CityMapData& map, const QString& metresPerCm, const QString& pixelsPerCm);
