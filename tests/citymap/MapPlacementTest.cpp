#include "citymap/window/MapPlacement.h"
#include "citymap/window/MapLabel.h"
#include "citymap/window/MapSearchAddress.h"

#include <gtest/gtest.h>

namespace {

// Columns 300 and 200 wide, rows 100 and 150 high, seen through a 120 × 80 viewport.
TileGrid twoByTwo()
{
    return *TileGrid::fromSizes({300, 200}, {100, 150});
}
const QSize kViewport(120, 80);

MapPlacement atFirstTile()
{
    MapPlacement placement;
    placement.pictureSize = QSize(300, 100);
    return placement;
}

} // namespace

TEST(MapScroll, LeftInFirstColumnStopsAtZero)
{
    auto at = atFirstTile();
    at.picture = QPoint(-10, 0);
    const auto to = MapScroll::scroll(twoByTwo(), kViewport, at, ScrollDirection::Left, 40);
    EXPECT_EQ(to.picture, QPoint(0, 0));
    EXPECT_EQ(to.view.offset, QPoint(0, 0));
    EXPECT_EQ(to.view.column, 1);
}

TEST(MapScroll, RightPastTheEdgeTakesTheNextColumnAndBackAgain)
{
    auto at = atFirstTile();
    at.picture = QPoint(-170, 0); // right edge 10 pixels beyond the viewport's
    const auto next = MapScroll::scroll(twoByTwo(), kViewport, at, ScrollDirection::Right, 40);
    EXPECT_EQ(next.view.column, 2);
    EXPECT_EQ(next.view.offset, QPoint(300, 0));
    EXPECT_EQ(next.picture, QPoint(0, 0));
    EXPECT_EQ(next.pictureSize, QSize(200, 100));

    const auto back = MapScroll::scroll(twoByTwo(), kViewport, next, ScrollDirection::Left, 40);
    EXPECT_EQ(back.view.column, 1);
    EXPECT_EQ(back.view.offset, QPoint(0, 0));
    EXPECT_EQ(back.pictureSize, QSize(300, 100));
    EXPECT_EQ(back.picture, QPoint(120 - 300, 0)); // right edge on the viewport's right edge
}

TEST(MapScroll, RightAndDownInTheLastColumnAndRowStopAtTheEdge)
{
    MapPlacement at;
    at.view = {2, 2, QPoint(300, 100)};
    at.pictureSize = QSize(200, 150);
    at.picture = QPoint(-70, -60);
    const auto right = MapScroll::scroll(twoByTwo(), kViewport, at, ScrollDirection::Right, 40);
    EXPECT_EQ(right.view.column, 2);
    EXPECT_EQ(right.picture.x(), 120 - 200);
    const auto down = MapScroll::scroll(twoByTwo(), kViewport, at, ScrollDirection::Down, 40);
    EXPECT_EQ(down.view.row, 2);
    EXPECT_EQ(down.picture.y(), 80 - 150);
}

TEST(MapScroll, UpFromTheSecondRowTakesTheFirst)
{
    MapPlacement at;
    at.view = {1, 2, QPoint(0, 100)};
    at.pictureSize = QSize(300, 150);
    at.picture = QPoint(0, -5);
    const auto up = MapScroll::scroll(twoByTwo(), kViewport, at, ScrollDirection::Up, 40);
    EXPECT_EQ(up.view.row, 1);
    EXPECT_EQ(up.view.offset, QPoint(0, 0));
    EXPECT_EQ(up.picture.y(), 80 - 100);
}

TEST(MapScroll, CentringFindsTheTileAndKeepsThePictureOverTheViewport)
{
    const auto middle = MapScroll::centredOn(twoByTwo(), kViewport, QPoint(400, 200));
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->tile(), (TileGrid::Tile{2, 2}));
    EXPECT_EQ(middle->view.offset, QPoint(300, 100));
    EXPECT_EQ(middle->picture, QPoint(60 + 300 - 400, 40 + 100 - 200));

    const auto corner = MapScroll::centredOn(twoByTwo(), kViewport, QPoint(5, 5));
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->picture, QPoint(0, 0)); // never a gap at the top-left

    EXPECT_FALSE(MapScroll::centredOn(twoByTwo(), kViewport, QPoint(501, 10)));
    EXPECT_FALSE(MapScroll::centredOn(twoByTwo(), kViewport, QPoint(10, 251)));
}

TEST(MapLabelText, HouseLabelsAreCutAfterTheirFirstBrace)
{
    EXPECT_EQ(MapLabel::cutHouse(QStringLiteral("[Соборна]{12} кв. 5")), QStringLiteral("[Соборна]{12}"));
    EXPECT_EQ(MapLabel::cutHouse(QStringLiteral("Вокзал")), QStringLiteral("Вокзал"));
    EXPECT_EQ(MapLabel::house(QStringLiteral("Лесі"), QStringLiteral("3а")), QStringLiteral("[Лесі]{3а}"));
    EXPECT_EQ(MapLabel::object(QStringLiteral("Аптека"), QStringLiteral("Лесі"), {}),
              QStringLiteral("Аптека  Лесі"));
    EXPECT_EQ(MapLabel::object(QStringLiteral("Аптека"), QStringLiteral("Лесі"), QStringLiteral("7")),
              QStringLiteral("Аптека  Лесі 7"));
    EXPECT_EQ(MapLabel::searchWords(QStringLiteral("[Соборна]{12} кв. 5")), QStringLiteral("Соборна 12"));
}

TEST(MapSearchAddressText, CyrillicLettersAreTwoEscapesEach)
{
    EXPECT_EQ(MapSearchAddress::formEncode(QStringLiteral("Луцьк a_Z 9")),
              QByteArray("%D0%9B%D1%83%D1%86%D1%8C%D0%BA+a_Z+9"));
    EXPECT_EQ(MapSearchAddress::formEncode(QStringLiteral("'&=+")), QByteArray("%27%26%3D%2B"));
    const QUrl url = MapSearchAddress::forLabel(QStringLiteral("https://maps.example/search"),
                                                QStringLiteral("Луцьк"), QStringLiteral("[Лесі]{3} кв. 1"));
    EXPECT_EQ(
        url.toEncoded(),
        QByteArray(
            "https://maps.example/search?text=%D0%9B%D1%83%D1%86%D1%8C%D0%BA+%D0%9B%D0%B5%D1%81%D1%96+3"));
}
