#include "citymap/window/MapWindowController.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "platform/ShellOpen.h"
#include "support/DatabaseSuite.h"
#include "support/MeddlingPrompts.h"
#include "support/TestWorkstation.h"

#include <functional>

namespace {

// Remembers the tiles it was told to load; a tile named in `missing` cannot be read.
class RecordingPicture : public MapPicture
{
public:
    bool loadTile(const QString& path) override
    {
        for (const QString& name : missing)
            if (path.endsWith(name))
                return false;
        loaded << path;
        return true;
    }
    QStringList loaded;
    QStringList missing;
};

} // namespace

// The map window over a 2 × 2 grid of 100 × 80 tiles, 2 metres a pixel, shown through a
// 60 × 50 viewport.
class MapWindow : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        for (const char* table : {"KARTA_MISTA", "ZADIANI_AVTO", "VULICA_LUCK"})
            db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        ws = std::make_unique<TestWorkstation>(db->serverSettings());
        ASSERT_TRUE(ws->connect());
        ctx = std::make_unique<DispatchContext>(
            DispatchContext{*ws->dani, ws->store, prompts, clock, *ws->map, {}, {}});
        window = std::make_unique<MapWindowController>(*ctx, *ws->map, picture, shell);
        window->setViewport(QSize(60, 50));
        MapSettings settings;
        settings.name = QStringLiteral("Ясногород");
        settings.length = QStringLiteral("2");
        settings.pixelsPerCm = QStringLiteral("1");
        settings.scrollStep = QStringLiteral("30");
        ws->map->adopt(settings, *TileGrid::fromSizes({100, 100}, {80, 80}), {});
    }
    void point(int number, const QString& label, int x, int y, int street = 0)
    {
        db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                                "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, KOORD_KART_MISTA_PUKT_1, "
                                "KOORD_KART_MISTA_STATUS) VALUES (%1, %2, %3, %4, %5, 'БУДИНОК')")
                     .arg(number)
                     .arg(sql::text(label))
                     .arg(x)
                     .arg(y)
                     .arg(street));
    }
    void car(int callsign, const QString& place, int engaged)
    {
        db->exec(QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_VULICA, "
                                "ZAD_AVTO_ZADIANIST, ZAD_AVTO_NOMER_ZAMOVL, ZAD_AVTO_CHAS_ZAMOVL) VALUES "
                                "(%1, %2, %3, 0, '0001')")
                     .arg(callsign)
                     .arg(sql::text(place))
                     .arg(engaged));
    }
    static QStringList texts(const MapOverlays& overlays)
    {
        QStringList all;
        for (const auto& text : overlays.texts)
            all << text.text;
        return all;
    }

    FixedClock clock;
    MeddlingPrompts prompts;
    RecordingPicture picture;
    RecordedShellOpen shell;
    std::unique_ptr<TestWorkstation> ws;
    std::unique_ptr<DispatchContext> ctx;
    std::unique_ptr<MapWindowController> window;
};

TEST_F(MapWindow, ALoadStartsAtTheFirstTileAndScrollingMovesAcrossTiles)
{
    ASSERT_EQ(picture.loaded.size(), 1);
    EXPECT_TRUE(picture.loaded[0].endsWith(QStringLiteral("1_1.bmp")));
    EXPECT_EQ(window->caption(), QStringLiteral("Ясногород"));
    EXPECT_EQ(window->stepText(), QStringLiteral("30"));

    // 100 wide in a 60 viewport: two clicks of 30 bring the right edge inside.
    window->scroll(ScrollDirection::Right);
    EXPECT_EQ(window->placement().picture.x(), -30);
    window->scroll(ScrollDirection::Right);
    EXPECT_EQ(window->placement().view.column, 2);
    EXPECT_EQ(window->placement().view.offset.x(), 100);
    EXPECT_TRUE(picture.loaded.last().endsWith(QStringLiteral("2_1.bmp")));

    // A step of 0 becomes 100 at the next click.
    window->setStepText(QStringLiteral("0"));
    window->scroll(ScrollDirection::Left);
    EXPECT_EQ(window->stepText(), QStringLiteral("100"));
    EXPECT_EQ(window->placement().view.column, 1);

    // A negative or unreadable step is refused: nothing moves and the last good step is back.
    const MapPlacement before = window->placement();
    for (const char* bad : {"-5", "abc", ""}) {
        window->setStepText(QString::fromLatin1(bad));
        window->scroll(ScrollDirection::Down);
        EXPECT_EQ(window->placement(), before) << bad;
        EXPECT_EQ(window->stepText(), QStringLiteral("100")) << bad;
    }
}

TEST_F(MapWindow, AnUnreadableTileLeavesTheViewOnTheLastGoodTileWithAMessage)
{
    picture.missing << QStringLiteral("1_2.bmp");
    const MapPlacement before = window->placement();
    window->setStepText(QStringLiteral("100"));
    window->scroll(ScrollDirection::Down);
    EXPECT_EQ(window->placement(), before);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("1_2.bmp")));

    // Showing a point on that tile keeps the view as well.
    point(1, QStringLiteral("Вокзал"), 30, 120);
    window->ShowLabelOnMap(QStringLiteral("Вокзал"));
    EXPECT_EQ(window->placement(), before);
}

TEST_F(MapWindow, ShowLabelOnMapCentresAndMarksThePointOrSearchesOnline)
{
    point(1, QStringLiteral("[Лесі]{2}"), 150, 60);
    int shown = 0;
    QObject::connect(window.get(), &MapWindowController::showRequested, [&] { ++shown; });
    // An apartment after the house is cut off: the house's point is shown.
    window->ShowLabelOnMap(QStringLiteral("[Лесі]{2} кв. 5"));
    EXPECT_EQ(shown, 1);
    const MapPlacement& at = window->placement();
    EXPECT_EQ(at.view.column, 2);
    EXPECT_EQ(at.view.row, 1);
    // Centred (30 + 100 - 150 = -20, 25 + 0 - 60 = -35), kept over the viewport.
    EXPECT_EQ(at.picture, QPoint(-20, -30));
    ASSERT_EQ(window->overlays().circles.size(), 1u);
    EXPECT_EQ(window->overlays().circles[0].centre, QPoint(50, 60));
    EXPECT_EQ(window->overlays().circles[0].colour, 0xFFFF00u);
    EXPECT_TRUE(texts(window->overlays()).contains(QStringLiteral("[Лесі]{2}")));

    // A label without a point, a point not placed, or one beyond the tiles change nothing.
    point(2, QStringLiteral("Міст"), 0, 40);
    point(3, QStringLiteral("Далеко"), 500, 40);
    const MapPlacement before = window->placement();
    for (const char* label : {"Невідоме", "Міст", "Далеко"}) {
        window->ShowLabelOnMap(QString::fromUtf8(label));
        EXPECT_EQ(window->placement(), before) << label;
    }
    EXPECT_EQ(shown, 1);

    // Without the city map the place is searched on the online map, with the city.
    ws->store.setValue(SettingsStore::kUserGroup, SettingKeys::kMyCity, QStringLiteral("Ясногород"));
    ws->map->switchOff();
    window->ShowLabelOnMap(QStringLiteral("[Лесі]{2}"));
    ASSERT_EQ(shell.opened().size(), 1);
    const QString address = shell.opened()[0].toString(QUrl::FullyEncoded);
    EXPECT_TRUE(
        address.endsWith(QStringLiteral("?text=%D0%AF%D1%81%D0%BD%D0%BE%D0%B3%D0%BE%D1%80%D0%BE%D0%B4+"
                                        "%D0%9B%D0%B5%D1%81%D1%96+2")))
        << address.toStdString();
}

TEST_F(MapWindow, TheCarsAtTheirPlacesAreDrawnEngagedAndFreeApart)
{
    point(1, QStringLiteral("Вокзал"), 30, 30);
    point(2, QStringLiteral("[Лесі]{2}"), 50, 40);
    point(3, QStringLiteral("Ринок"), 150, 30); // on the next tile
    car(15, QStringLiteral("Вокзал"), 0);
    car(12, QStringLiteral("Вокзал"), 0);
    car(7, QStringLiteral("Вокзал"), 1);
    car(21, QStringLiteral("[Лесі]{2} під'їзд 3"), 1); // looked up by its house
    car(30, QStringLiteral("Ринок"), 0);
    window->setShowObjects(false); // draws the tile again
    const MapOverlays& overlays = window->overlays();
    EXPECT_EQ(texts(overlays), (QStringList{QStringLiteral("ПОЗИВНІ [7] ЗАДІЯНІ"),
                                            QStringLiteral("ПОЗИВНІ [12, 15] НЕ ЗАДІЯНІ"),
                                            QStringLiteral("ПОЗИВНІ [21] ЗАДІЯНІ")}));
    EXPECT_EQ(overlays.texts[0].at, QPoint(30, 30));
    EXPECT_EQ(overlays.texts[0].colour, 0x0000FFu);
    EXPECT_EQ(overlays.texts[1].at, QPoint(30, 50));
    EXPECT_EQ(overlays.texts[1].colour, 0xFF0000u);

    // The labels of points on streets, with the box ticked.
    db->exec(
        QStringLiteral("UPDATE KARTA_MISTA SET KOORD_KART_MISTA_PUKT_1 = 4 WHERE KOORD_KART_MISTA_NP = 1"));
    window->setShowObjects(true);
    EXPECT_TRUE(texts(window->overlays()).contains(QStringLiteral("Вокзал")));
}

TEST_F(MapWindow, CreatingAHouseInsertsOnePointAndTellsTheOrderForm)
{
    db->exec(
        QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (4, 'Лесі')"));
    point(1, QStringLiteral("[Лесі]{1}"), 20, 20, 4);
    QStringList created;
    QObject::connect(window.get(), &MapWindowController::houseCreated,
                     [&](const QString&, const QString& house) { created << house; });
    window->startHouseCreation(QStringLiteral("Лесі"), 4);
    EXPECT_TRUE(window->creationMode());
    EXPECT_FALSE(window->searchPanelShown());
    // The street's points are lit.
    ASSERT_EQ(window->overlays().circles.size(), 1u);
    EXPECT_EQ(window->overlays().circles[0].radius, 7);

    window->cursorMoved(QPoint(40, 30));
    const QPoint cursor = window->cursor();
    prompts.answerQuestion(true);
    EXPECT_TRUE(window->create(
        {MapWindowController::Creating::House, QStringLiteral("Лесі"), QStringLiteral("9"), {}, {}}));
    ASSERT_EQ(prompts.questions().size(), 1);
    EXPECT_EQ(prompts.questions()[0],
              QStringLiteral("Параметри створення будинка :\rВибрана вулиця : [Лесі]\rНомер "
                             "будинка : [9]\rБуде створено будинок з підписом : [Лесі]{9}"));
    EXPECT_EQ(created, QStringList{QStringLiteral("9")});
    EXPECT_FALSE(window->creationMode());
    EXPECT_EQ(
        db->scalar(QStringLiteral("SELECT COUNT(*) FROM KARTA_MISTA WHERE KOORD_KART_MISTA_PIDPIS = "
                                  "'[Лесі]{9}' AND KOORD_KART_MISTA_X = %1 AND KOORD_KART_MISTA_Y = %2 AND "
                                  "KOORD_KART_MISTA_STATUS = 'БУДИНОК' AND KOORD_KART_MISTA_NP = 2")
                       .arg(cursor.x())
                       .arg(cursor.y())),
        1);

    // The same house again, an empty number, or marks that would read as a route point:
    // refused with the message, nothing asked, nothing inserted.
    prompts.clear();
    for (const char* house : {"9", "", "5 <3>"})
        EXPECT_FALSE(window->create({MapWindowController::Creating::House,
                                     QStringLiteral("Лесі"),
                                     QString::fromUtf8(house),
                                     {},
                                     {}}));
    EXPECT_EQ(prompts.messages(), QStringList(3, MapWindowController::kNotAllEnteredMessage));
    EXPECT_TRUE(prompts.questions().isEmpty());
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM KARTA_MISTA")), 2);
}

TEST_F(MapWindow, AnObjectTakesItsStreetNumberAndTheRaceForALabelKeepsOnePoint)
{
    db->exec(QStringLiteral(
        "INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (6, 'Прем''єрна')"));
    window->startHouseCreation(QStringLiteral("Прем'єрна"), 6);
    prompts.answerQuestion(true);
    EXPECT_TRUE(window->create({MapWindowController::Creating::Object, QStringLiteral("Прем'єрна"), QString(),
                                QStringLiteral("Лікарня"), QStringLiteral("Лікарня №2")}));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT KOORD_KART_MISTA_PUKT_1 FROM KARTA_MISTA WHERE "
                                        "KOORD_KART_MISTA_PIDPIS = 'Лікарня №2  Прем''єрна' AND "
                                        "KOORD_KART_MISTA_STATUS = 'Лікарня'")),
              6);

    // Another workstation puts the same house on the map while the dispatcher reads the
    // question: the unique label keeps its point, ours is not inserted.
    window->startHouseCreation(QStringLiteral("Прем'єрна"), 6);
    prompts.clear();
    prompts.whileOpen = [] {
        db->exec(
            QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP, KOORD_KART_MISTA_PIDPIS, "
                           "KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y) VALUES (50, '[Прем''єрна]{1}', 5, 5)"));
    };
    prompts.answerQuestion(true);
    EXPECT_FALSE(window->create(
        {MapWindowController::Creating::House, QStringLiteral("Прем'єрна"), QStringLiteral("1"), {}, {}}));
    EXPECT_EQ(prompts.messages(), QStringList{MapWindowController::kNotAllEnteredMessage});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM KARTA_MISTA WHERE KOORD_KART_MISTA_PIDPIS = "
                                        "'[Прем''єрна]{1}'")),
              1);
    EXPECT_TRUE(window->creationMode()); // the dispatcher may correct the number
}

TEST_F(MapWindow, TheSearchJoinsTheTickedConditionsAndTheStreetFindsItsPoints)
{
    db->exec(QStringLiteral(
        "INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (8, 'Прем''єрна')"));
    point(1, QStringLiteral("Школа №1"), 10, 10, 8);
    point(2, QStringLiteral("[Прем'єрна]{4}"), 12, 10);
    point(3, QStringLiteral("Ринок"), 14, 10);
    db->exec(QStringLiteral(
        "UPDATE KARTA_MISTA SET KOORD_KART_MISTA_RAYON = 'Центр' WHERE KOORD_KART_MISTA_NP < 3"));
    using F = MapWindowController::SearchField;
    window->search({{F::Street, QStringLiteral("Прем'єр")}});
    QStringList labels;
    for (const auto& found : window->found())
        labels << found.label;
    labels.sort();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("[Прем'єрна]{4}"), QStringLiteral("Школа №1")}));
    window->search({{F::District, QStringLiteral("Цент")}, {F::Label, QStringLiteral("Шко")}});
    ASSERT_EQ(window->found().size(), 1);
    EXPECT_EQ(window->found()[0].district, QStringLiteral("Центр"));
    EXPECT_EQ(window->suggestions(F::Street, QStringLiteral("єр")), QStringList{QStringLiteral("Прем'єрна")});
    EXPECT_TRUE(prompts.messages().isEmpty());
}
