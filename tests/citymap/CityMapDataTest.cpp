#include "citymap/CityMapData.h"
#include "BmpBytes.h"
#include "citymap/FindStreetRoutes.h"
#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/Cp1251.h"
#include "support/DatabaseSuite.h"
#include "support/RecordingView.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The map loaded at log-in from a base folder of its own and a real database.
class CityMapLoad : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        BaseFolder::overrideForTests(base.path());
        db->exec(QStringLiteral("DELETE FROM KARTA_MISTA"));
        db->exec(QStringLiteral("DELETE FROM VULICA_LUCK"));
        db->exec(QStringLiteral(
            "INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (1, 'Лесі')"));
        db->exec(QStringLiteral(
            "INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (2, 'Соборна')"));
        db->exec(QStringLiteral(
            "INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (3, 'Зарічна')"));
        workstation = std::make_unique<TestWorkstation>(db->serverSettings());
        ASSERT_TRUE(workstation->connect());
        workstation->map.reset(); // this suite's map, on its clock, is the only one
        map = std::make_unique<CityMapData>(*workstation->dani, clock);
    }
    void TearDown() override
    {
        map.reset();
        workstation.reset();
        BaseFolder::overrideForTests({});
    }

    void writeSettings(const QString& text)
    {
        QFile file(base.filePath(QStringLiteral("SETTING_KART.INI")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*cp1251::encode(text));
    }
    // Two columns (300 and 200 wide) and two rows (100 and 150 high) under "Місто".
    void writeTwoByTwoMap(const QString& pixelsPerCm = QStringLiteral("50"),
                          const QString& metresPerCm = QStringLiteral("100"))
    {
        writeSettings(
            QStringLiteral("[KARTA_MISTA]\r\nNAME=Місто\r\nKIL_X=2\r\nKIL_Y=2\r\nMAX_X=500\r\nMAX_Y=250\r\n"
                           "LENGTH=%2\r\nSKOROST=40\r\nLENGTH_TOCHKA=%1\r\n")
                .arg(pixelsPerCm, metresPerCm));
        QDir(base.path()).mkpath(QStringLiteral("Місто"));
        BmpBytes{300, 100}.writeTo(base.filePath(QStringLiteral("Місто/1_1.bmp")));
        BmpBytes{200, 100}.writeTo(base.filePath(QStringLiteral("Місто/2_1.bmp")));
        BmpBytes{300, 150}.writeTo(base.filePath(QStringLiteral("Місто/1_2.bmp")));
    }
    void addPoint(int number, const char* label, int x, int y, std::array<int, 5> streets)
    {
        db->exec(
            QStringLiteral(
                "INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, KOORD_KART_MISTA_PUKT_1, KOORD_KART_MISTA_PUKT_2, "
                "KOORD_KART_MISTA_PUKT_3, KOORD_KART_MISTA_PUKT_4, KOORD_KART_MISTA_PUKT_5) "
                "VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                .arg(sql::integer(number),
                     label ? sql::text(QString::fromUtf8(label)) : QStringLiteral("NULL"), sql::integer(x),
                     sql::integer(y), sql::integer(streets[0]), sql::integer(streets[1]),
                     sql::integer(streets[2]), sql::integer(streets[3]), sql::integer(streets[4])));
    }
    void expectFallback(const CityMapData::LoadResult& result)
    {
        EXPECT_FALSE(result.mapSupported);
        EXPECT_FALSE(map->MapSupported());
        EXPECT_TRUE(result.districtTablesNeeded);
        EXPECT_EQ(result.report, CityMapData::fallbackReport(clock.now()));
        EXPECT_EQ(map->lengthText(), QStringLiteral("0"));
        EXPECT_EQ(map->pixelsPerCmText(), QStringLiteral("0"));
        EXPECT_FALSE(map->metres(100).has_value());
    }

    QTemporaryDir base;
    FixedClock clock{QDateTime(QDate(2026, 3, 7), QTime(8, 5, 9))};
    std::unique_ptr<TestWorkstation> workstation;
    std::unique_ptr<CityMapData> map;
};

TEST_F(CityMapLoad, WithoutASettingsFileTheDistrictTablesAreBuiltAndTheReportTold)
{
    expectFallback(map->LoadMap());
    EXPECT_EQ(CityMapData::fallbackReport(clock.now()),
              (QStringList{QString(38, QLatin1Char('*')), "[Системне повідомлення]", "07.03.2026 08:05:09",
                           "", "Не найдено файл налаштувань підтримки карти свого міста.",
                           "Загрузка налаштувань районо-секторних данних.", ""}));
    EXPECT_EQ(map->points().size(), 0);
}

TEST_F(CityMapLoad, ASettingThatIsNotAWholeNumberOrAMissingTileFallsBack)
{
    writeTwoByTwoMap();
    writeSettings(
        QStringLiteral("[KARTA_MISTA]\r\nNAME=Місто\r\nKIL_X=два\r\nKIL_Y=2\r\nMAX_X=1\r\nMAX_Y=1\r\n"));
    expectFallback(map->LoadMap());

    writeSettings(
        QStringLiteral("[KARTA_MISTA]\r\nNAME=Місто\r\nKIL_X=2\r\nKIL_Y=2\r\nMAX_X=1.5\r\nMAX_Y=1\r\n"));
    expectFallback(map->LoadMap());

    writeTwoByTwoMap();
    QFile::remove(base.filePath(QStringLiteral("Місто/1_2.bmp")));
    const auto result = map->LoadMap();
    expectFallback(result);
    EXPECT_TRUE(result.failure.contains(QStringLiteral("1_2.bmp")));
}

TEST_F(CityMapLoad, AMapLaysOutItsTilesAndGivesMetresFromItsScale)
{
    writeTwoByTwoMap();
    const auto result = map->LoadMap();
    ASSERT_TRUE(result.mapSupported) << result.failure.toStdString();
    EXPECT_TRUE(result.report.isEmpty());
    EXPECT_FALSE(result.districtTablesNeeded);
    EXPECT_TRUE(map->MapSupported());
    EXPECT_EQ(map->settings().name, QStringLiteral("Місто"));
    EXPECT_EQ(map->scrollStepText(), QStringLiteral("40"));
    EXPECT_EQ(map->tiles().tileAt({300, 100}), (TileGrid::Tile{2, 2}));
    EXPECT_EQ(map->tiles().tileOrigin({2, 2}), QPoint(300, 100));
    EXPECT_EQ(map->tilePath({2, 1}), base.filePath(QStringLiteral("Місто/2_1.bmp")));
    EXPECT_EQ(map->view().column, 1);
    // 100 metres per centimetre at 50 pixels per centimetre.
    EXPECT_EQ(map->metres(150), 300.0);
    EXPECT_EQ(map->metresPerPixel(), 2.0);

    // A dispatcher without the map right keeps the loaded map unused, without district tables.
    map->switchOff();
    EXPECT_FALSE(map->MapSupported());
    EXPECT_FALSE(map->metresPerPixel().has_value());
}

TEST_F(CityMapLoad, AScaleOfZeroOrUnreadableGivesNoDistanceButTheMapStays)
{
    for (const char* pixels : {"0", "0,0", "", "п'ять"}) {
        writeTwoByTwoMap(QString::fromUtf8(pixels));
        ASSERT_TRUE(map->LoadMap().mapSupported);
        EXPECT_FALSE(map->metres(150).has_value()) << pixels;
    }
    // Metres per centimetre that do not read would make every distance 0, in reach of any maximum.
    writeTwoByTwoMap(QStringLiteral("50"), QStringLiteral("сто"));
    ASSERT_TRUE(map->LoadMap().mapSupported);
    EXPECT_FALSE(map->metres(150).has_value());
    writeTwoByTwoMap(QStringLiteral("2,5"));
    ASSERT_TRUE(map->LoadMap().mapSupported);
    EXPECT_EQ(map->metres(5), 200.0);
}

TEST_F(CityMapLoad, AWindowsStyleFolderNameFindsTheTiles)
{
    writeTwoByTwoMap();
    QDir(base.path()).mkpath(QStringLiteral("карти/місто"));
    for (const char* name : {"1_1.bmp", "2_1.bmp", "1_2.bmp"})
        QFile::copy(base.filePath(QStringLiteral("Місто/") + QLatin1String(name)),
                    base.filePath(QStringLiteral("карти/місто/") + QLatin1String(name)));
    writeSettings(
        QStringLiteral("[KARTA_MISTA]\r\nNAME=карти\\місто\r\nKIL_X=2\r\nKIL_Y=2\r\nMAX_X=0\r\nMAX_Y=0\r\n"));
    const auto result = map->LoadMap();
    EXPECT_TRUE(result.mapSupported) << result.failure.toStdString();
}

TEST_F(CityMapLoad, AnEmptyPointTableHasTheSingleEntryZero)
{
    writeTwoByTwoMap();
    ASSERT_TRUE(map->LoadMap().mapSupported);
    EXPECT_EQ(map->points().size(), 1);
    EXPECT_EQ(map->points().at(0).x, 0);
}

TEST_F(CityMapLoad, OnlyCrossingsAndLabelledPointsAreInTheTable)
{
    addPoint(3, nullptr, 10, 20, {5, 0, 0, 0, 0}); // one street, no label
    addPoint(4, nullptr, 30, 40, {5, 7, 0, 0, 0}); // a crossing
    addPoint(6, "[Соборна]{12}", 50, 60, {0, 0, 0, 0, 0});
    addPoint(9, nullptr, 70, 80, {8, 0, 0, 0, 0}); // higher, but does not qualify
    writeTwoByTwoMap();
    QList<std::pair<int, int>> progress;
    ASSERT_TRUE(map->LoadMap([&](int done, int total) { progress.append({done, total}); }).mapSupported);

    const MapPoints& points = map->points();
    EXPECT_EQ(points.size(), 7);
    EXPECT_EQ(points.at(3).x, 0);
    EXPECT_EQ(points.at(3).streets[0], 0);
    EXPECT_EQ(points.at(4).y, 40);
    EXPECT_EQ(points.at(4).streets, (std::array<int, 5>{5, 7, 0, 0, 0}));
    EXPECT_EQ(points.at(6).x, 50);
    EXPECT_EQ(points.at(9).x, 0); // out of range: not placed
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{1, 2}, {2, 2}}));
}

TEST_F(CityMapLoad, ADatabaseFailureFallsBackAndKeepsTheEarlierPoints)
{
    addPoint(2, "Вокзал", 5, 5, {1, 0, 0, 0, 0});
    writeTwoByTwoMap();
    ASSERT_TRUE(map->LoadMap().mapSupported);
    ASSERT_EQ(map->points().size(), 3);

    workstation->dani->BAZA.disconnect();
    expectFallback(map->LoadMap());
    EXPECT_EQ(map->points().size(), 3);
    EXPECT_EQ(map->points().at(2).x, 5);
}

TEST_F(CityMapLoad, AnAbsurdPointNumberCostsOneEntryAndTheMapStaysInUse)
{
    addPoint(2, "Вокзал", 5, 5, {1, 0, 0, 0, 0});
    addPoint(2'000'000'000, "Помилка", 1, 1, {0, 0, 0, 0, 0});
    writeTwoByTwoMap();
    ASSERT_TRUE(map->LoadMap().mapSupported);
    EXPECT_EQ(map->points().count(), 2);
    EXPECT_EQ(map->points().size(), 2'000'000'001);
    EXPECT_EQ(map->points().at(2'000'000'000).x, 1);
    EXPECT_EQ(map->points().at(2).x, 5);
}

TEST_F(CityMapLoad, TheStreetNetworkIsBuiltWithTheMapAndFollowsTheOneWayList)
{
    addPoint(2, nullptr, 10, 10, {1, 2, 0, 0, 0});
    addPoint(3, nullptr, 50, 10, {2, 3, 0, 0, 0});
    SettingsStore& store = workstation->store;
    store.setValue(SettingKeys::kOneWayStreetsGroup, SettingKeys::kOneWayStreets,
                   QStringLiteral("[1] на [2]\nзаїзд з Лесі\n[2] [x]"));
    writeTwoByTwoMap();
    ASSERT_TRUE(map->LoadMap().mapSupported);
    const StreetNetwork& network = map->streetNetwork();
    EXPECT_EQ(network.streets().numberOf(QStringLiteral("Соборна")), 2);
    EXPECT_FALSE(network.graph().passable(1, 2));
    EXPECT_TRUE(network.graph().passable(2, 1));
    EXPECT_TRUE(FindStreetRoutes(network.graph(), 1, 3).empty());
    EXPECT_EQ(FindStreetRoutes(network.graph(), 3, 1).at(0).text(), QStringLiteral("{2}[3][2][1]"));
    // The two entries that do not read are skipped, and the settings window says which.
    ASSERT_EQ(map->oneWayWarnings().size(), 2);
    EXPECT_TRUE(map->oneWayWarnings().at(0).contains(QStringLiteral("Запис 2 ")));
    EXPECT_TRUE(map->oneWayWarnings().at(1).contains(QStringLiteral("[2] [x]")));
    EXPECT_EQ(store.value(SettingKeys::kOneWayStreetsSkipped), map->oneWayWarnings().join(QLatin1Char('\n')));
    EXPECT_EQ(store.groupOf(SettingKeys::kOneWayStreetsSkipped), SettingKeys::kOneWayStreetsGroup);

    // A changed list replaces the passages at once, without a new load.
    store.setValue(SettingKeys::kOneWayStreetsGroup, SettingKeys::kOneWayStreets, QStringLiteral("[2][1]"));
    EXPECT_TRUE(network.graph().passable(1, 2));
    EXPECT_FALSE(network.graph().passable(2, 1));
    EXPECT_EQ(FindStreetRoutes(network.graph(), 1, 3).at(0).text(), QStringLiteral("{2}[1][2][3]"));
    EXPECT_TRUE(map->oneWayWarnings().isEmpty());
    EXPECT_EQ(store.value(SettingKeys::kOneWayStreetsSkipped), QString());
}

TEST_F(CityMapLoad, AFailedReadOfTheStreetsFallsBackAndKeepsTheEarlierNetwork)
{
    addPoint(2, nullptr, 10, 10, {1, 2, 0, 0, 0});
    writeTwoByTwoMap();
    ASSERT_TRUE(map->LoadMap().mapSupported);
    db->exec(QStringLiteral("ALTER TABLE VULICA_LUCK ALTER COLUMN SPISOK_VUL_VULICA TO SPISOK_VUL_NAZVA"));
    const auto result = map->LoadMap();
    db->exec(QStringLiteral("ALTER TABLE VULICA_LUCK ALTER COLUMN SPISOK_VUL_NAZVA TO SPISOK_VUL_VULICA"));
    expectFallback(result);
    EXPECT_FALSE(result.failure.isEmpty());
    EXPECT_EQ(map->streetNetwork().streets().numberOf(QStringLiteral("Лесі")), 1);
    EXPECT_TRUE(map->streetNetwork().graph().passable(1, 2));
}

// Points put on the map by another workstation, announced by the database event.
class CityMapEvents : public CityMapLoad
{
protected:
    void SetUp() override
    {
        CityMapLoad::SetUp();
        addPoint(2, "Вокзал", 10, 20, {1, 0, 0, 0, 0});
        writeTwoByTwoMap();
        ASSERT_TRUE(map->LoadMap().mapSupported);
        QObject::connect(map.get(), &CityMapData::pointsAdded, map.get(),
                         [this](const MapPoints& added) { announced.append(added.count()); });
    }
    // Waits until the map announced as many loads as expected.
    bool loads(int count)
    {
        return waitFor([&] { return announced.size() >= count; });
    }
    QList<int> announced; // points per load
};

TEST_F(CityMapEvents, NewHousesGrowTheTableWithOneReadAndOldEntriesStay)
{
    // Two houses in one transaction reach us as one alert, and one read brings both.
    FbTransaction t(db->other(), QStringLiteral("T"));
    FbQuery q(t);
    q.exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                          "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, KOORD_KART_MISTA_PUKT_1, "
                          "KOORD_KART_MISTA_PUKT_2) VALUES (6, '[Лесі]{2}', 100, 200, 3, 4)"));
    q.exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                          "KOORD_KART_MISTA_X) VALUES (5, '[Лесі]{4}', 50)"));
    t.commit();
    ASSERT_TRUE(loads(1));
    EXPECT_EQ(announced.first(), 2);
    EXPECT_EQ(map->points().size(), 7);
    EXPECT_EQ(map->points().at(6).x, 100);
    EXPECT_EQ(map->points().at(6).streets[1], 4);
    EXPECT_EQ(map->points().at(5).x, 50);
    EXPECT_EQ(map->points().at(2).x, 10); // old entries stay

    // A number below the table's size is not read; a smaller maximum leaves the table alone.
    addPoint(3, "Ринок", 5, 0, {0, 0, 0, 0, 0});
    db->exec(QStringLiteral("DELETE FROM KARTA_MISTA WHERE KOORD_KART_MISTA_NP = 6"));
    settle(300);
    EXPECT_EQ(announced.size(), 1);
    EXPECT_EQ(map->points().size(), 7);
    EXPECT_EQ(map->points().at(3).x, 0);
    EXPECT_EQ(map->points().at(6).x, 100);
}

TEST_F(CityMapEvents, AHouseOnACrossingJoinsTheStreetNetwork)
{
    const StreetNetwork& network = map->streetNetwork();
    EXPECT_TRUE(FindStreetRoutes(network.graph(), 1, 3).empty());
    addPoint(7, "[Лесі]{9}", 40, 30, {1, 3, 0, 0, 0});
    ASSERT_TRUE(loads(1));
    EXPECT_TRUE(network.graph().passable(1, 3));
    EXPECT_EQ(FindStreetRoutes(network.graph(), 1, 3).at(0).text(), QStringLiteral("{1}[1][3]"));
    const auto* nearest = network.streetPoints().nearestOn(3, QPointF(0, 0));
    ASSERT_NE(nearest, nullptr);
    EXPECT_EQ(nearest->position, QPoint(40, 30));
}

TEST_F(CityMapEvents, ADamagedNumberOrAGapOfMillionsNeitherFreezesNorSwallowsMemory)
{
    // One read per event, however far the new number lies: a read per number up to the
    // new maximum would run for hours here, and a table per number would take gigabytes.
    addPoint(9'000'000, "Пошкоджений", 7, 7, {0, 0, 0, 0, 0});
    ASSERT_TRUE(loads(1));
    EXPECT_EQ(map->points().size(), 9'000'001);
    EXPECT_EQ(map->points().count(), 2);
    addPoint(2'147'483'000, "Ще далі", 8, 8, {0, 0, 0, 0, 0});
    ASSERT_TRUE(loads(2));
    EXPECT_EQ(map->points().at(2'147'483'000).x, 8);
    EXPECT_EQ(map->points().count(), 3);

    // The next house gets the highest number + 1 and is still read.
    db->exec(QStringLiteral(
        "INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X) VALUES "
        "((SELECT MAX(KOORD_KART_MISTA_NP) FROM KARTA_MISTA) + 1, '[Лесі]{6}', 9)"));
    ASSERT_TRUE(loads(3));
    EXPECT_EQ(map->points().at(2'147'483'001).x, 9);
    EXPECT_EQ(map->points().count(), 4);
}

TEST_F(CityMapEvents, AFailedReadIsShownAndTheTableStays)
{
    workstation->dani->IBEvents1.cancel();
    workstation->dani->BAZA.disconnect();
    emit workstation->dani->mapPointsAdded();
    EXPECT_EQ(workstation->prompts.messages().size(), 1);
    EXPECT_TRUE(announced.isEmpty());
    EXPECT_EQ(map->points().count(), 1);
    EXPECT_EQ(map->points().size(), 3);
}

TEST(CityMapReport, ReadsTopToBottomInTheMessagesWindowAboveWhatWasThere)
{
    RecordingView view;
    view.messageLines = QStringList{QStringLiteral("раніше")};
    CityMapData::showReport({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, view);
    EXPECT_EQ(view.messageLines, (QStringList{"a", "b", "c", "раніше"}));
    EXPECT_EQ(view.messagesFormOpened, 1);
    CityMapData::showReport({QStringLiteral("d")}, view);
    EXPECT_EQ(view.messagesFormOpened, 1); // already showing
}
