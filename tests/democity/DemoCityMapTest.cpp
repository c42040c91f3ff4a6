#include "DemoMapCity.h"
#include "DemoMapPainter.h"
#include "DemoMapWriter.h"
#include "citymap/CityMapData.h"
#include "dispatch/DispatchContext.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "foundation/fb/SqlScript.h"
#include "mainwindow/ShiftChangeController.h"
#include "orders/intake/SoftphoneLine.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "support/DatabaseSuite.h"
#include "support/TestWorkstation.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IdleLine : public ISoftphoneLine
{
public:
    bool isConnected() const override { return false; }
    bool disconnect() override { return true; }
    bool configureFor(const QString&) override { return true; }
};

// Colours of the map's marks survive the tile file; the painter antialiases only edges.
bool sameColour(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 8 && std::abs(qGreen(a) - qGreen(b)) < 8 &&
           std::abs(qBlue(a) - qBlue(b)) < 8;
}

} // namespace

// The demo city as ./taxi run makes it: the committed demo data in a fresh database, its
// map drawn into the base folder the workstation reads.
class DemoCityMap : public DatabaseSuite
{
protected:
    static void SetUpTestSuite()
    {
        DatabaseSuite::SetUpTestSuite();
        QFile demo(TestDatabase::sourceFile(QStringLiteral("db/demo.sql")));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        runSqlScript(db->other(), QString::fromUtf8(demo.readAll()));
    }

    void SetUp() override { BaseFolder::overrideForTests(base.path()); }
    void TearDown() override { BaseFolder::overrideForTests({}); }

    DemoMapCity readCity() { return DemoMapCity::read(db->other()); }
    QString writeMap(const DemoMapCity& city)
    {
        return DemoMapWriter::write(city, base.path(), DemoMapWriter::folderName(city.cityName),
                                    QSize(1000, 750));
    }

    QTemporaryDir base;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
};

TEST_F(DemoCityMap, TheDemoCityReadsWithItsStreetsAndPoints)
{
    const DemoMapCity city = readCity();
    EXPECT_EQ(city.cityName, QStringLiteral("Ясногород"));
    EXPECT_EQ(city.points.size(),
              db->scalar(QStringLiteral("SELECT COUNT(*) FROM KARTA_MISTA WHERE KOORD_KART_MISTA_X > 0 AND "
                                        "KOORD_KART_MISTA_Y > 0")));
    EXPECT_EQ(city.streets.size(), db->scalar(QStringLiteral("SELECT COUNT(*) FROM VULICA_LUCK")));
    // Every street has houses and crossings to be drawn through.
    for (const auto& street : city.streets)
        EXPECT_GE(street.points.size(), 2) << qPrintable(street.name);
    // Houses belong to their street by the label alone; apostrophes are part of the name.
    EXPECT_EQ(DemoMapCity::houseStreet(QStringLiteral("[вул. Лук'янівська]{12А}")),
              QStringLiteral("вул. Лук'янівська"));
    EXPECT_EQ(DemoMapCity::houseStreet(QStringLiteral("Ринок")), QString());
}

TEST_F(DemoCityMap, TheWorkstationLoadsTheWrittenMapAndEveryPointLiesOnIt)
{
    const DemoMapCity city = readCity();
    ASSERT_EQ(writeMap(city), QString());

    TestWorkstation workstation(db->serverSettings());
    ASSERT_TRUE(workstation.connect());
    CityMapData map(*workstation.dani, clock);
    const auto result = map.LoadMap();
    ASSERT_TRUE(result.mapSupported) << qPrintable(result.failure);
    EXPECT_EQ(map.settings().name, QStringLiteral("Ясногород"));
    EXPECT_GE(map.tiles().columns(), 3);
    EXPECT_GE(map.tiles().rows(), 3);
    EXPECT_EQ(map.tiles().totalWidth(), map.settings().maxX);
    EXPECT_EQ(map.tiles().totalHeight(), map.settings().maxY);
    EXPECT_EQ(map.metresPerPixel(), 2.0);
    for (const auto& point : city.points)
        EXPECT_TRUE(map.tiles().tileAt(point.at).has_value()) << qPrintable(point.label);
}

TEST_F(DemoCityMap, EveryStandAndHouseIsDrawnWhereTheDatabasePutsIt)
{
    const DemoMapCity city = readCity();
    ASSERT_EQ(writeMap(city), QString());
    TestWorkstation workstation(db->serverSettings());
    ASSERT_TRUE(workstation.connect());
    CityMapData map(*workstation.dani, clock);
    ASSERT_TRUE(map.LoadMap().mapSupported);

    int stands = 0;
    int houses = 0;
    for (const auto& point : city.points) {
        const auto tile = map.tiles().tileAt(point.at);
        ASSERT_TRUE(tile.has_value());
        QImage picture(map.tilePath(*tile));
        ASSERT_FALSE(picture.isNull()) << qPrintable(map.tilePath(*tile));
        const QPoint inTile = point.at - *map.tiles().tileOrigin(*tile);
        if (point.status == QStringLiteral("СТОЯНКА")) {
            // The stand's sign, beside the letter drawn in its middle.
            const QPoint sign = inTile + QPoint(5, 5);
            if (picture.rect().contains(sign)) {
                EXPECT_TRUE(sameColour(picture.pixel(sign), DemoMapPainter::kStandColour))
                    << qPrintable(point.label);
                ++stands;
            }
        } else if (point.status == QStringLiteral("БУДИНОК")) {
            houses += sameColour(picture.pixel(inTile), DemoMapPainter::kHouseColour) ? 1 : 0;
        }
    }
    EXPECT_GE(stands, 10);
    // A house under an object's mark shows the object instead.
    EXPECT_GE(houses, int(db->scalar(QStringLiteral(
                          "SELECT COUNT(*) FROM KARTA_MISTA WHERE KOORD_KART_MISTA_STATUS = 'БУДИНОК'"))) *
                          9 / 10);
}

TEST_F(DemoCityMap, ANewRunReplacesTheTilesAndTheSettings)
{
    const DemoMapCity city = readCity();
    ASSERT_EQ(writeMap(city), QString());
    QFile stale(base.filePath(QStringLiteral("Ясногород/9_9.bmp")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    ASSERT_EQ(writeMap(city), QString());
    EXPECT_FALSE(QFile::exists(stale.fileName()));
    EXPECT_FALSE(QDir(base.filePath(QStringLiteral("Ясногород.new"))).exists());
    const IniFile ini = IniFile::load(base.filePath(QStringLiteral("SETTING_KART.INI")));
    EXPECT_EQ(ini.readString(QStringLiteral("karta_mista"), QStringLiteral("skorost")),
              QStringLiteral("100"));
}

// The log-in of the demo's dispatchers: the one with the map right works with the map,
// the one without it and any dispatcher without the map files with the district lists.
TEST_F(DemoCityMap, TheDemoDispatcherWithTheMapRightLogsInWithTheMap)
{
    ASSERT_EQ(writeMap(readCity()), QString());
    TestWorkstation workstation(db->serverSettings());
    ASSERT_TRUE(workstation.connect());
    CityMapData map(*workstation.dani, clock);
    DispatchContext ctx{*workstation.dani, workstation.store, workstation.prompts, clock, map, {}, {}};
    IdleLine line;
    ShiftChangeController shift(ctx, map, line);

    ASSERT_TRUE(shift.logIn(QStringLiteral("Мельник Мар'яна Іванівна"), QStringLiteral("2")).loggedIn);
    EXPECT_TRUE(map.MapSupported());
    EXPECT_EQ(workstation.view.messagesFormOpened, 0); // no fallback report
    EXPECT_GT(map.points().count(), 250);

    ASSERT_TRUE(shift.logIn(QStringLiteral("Гнатюк В'ячеслав Олегович"), QStringLiteral("3")).loggedIn);
    EXPECT_FALSE(map.MapSupported());

    QFile::remove(base.filePath(QStringLiteral("SETTING_KART.INI")));
    ASSERT_TRUE(shift.logIn(QStringLiteral("Мельник Мар'яна Іванівна"), QStringLiteral("2")).loggedIn);
    EXPECT_FALSE(map.MapSupported());
    EXPECT_EQ(workstation.view.messagesFormOpened, 1);
}
