#include "citymap/TileGrid.h"
#include "BmpBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Tile = TileGrid::Tile;

// First row 100, 150 and 80 pixels wide; first column 60 and 90 pixels high.
class UnevenTiles : public ::testing::Test
{
protected:
    TileGrid grid = *TileGrid::fromSizes({100, 150, 80}, {60, 90});
};

TEST_F(UnevenTiles, ColumnsStartAfterTheFirstRowsWidthsAndRowsAfterTheFirstColumnsHeights)
{
    EXPECT_EQ(grid.tileOrigin({1, 1}), QPoint(0, 0));
    EXPECT_EQ(grid.tileOrigin({2, 1}), QPoint(100, 0));
    EXPECT_EQ(grid.tileOrigin({3, 2}), QPoint(250, 60));
    EXPECT_EQ(grid.totalWidth(), 330);
    EXPECT_EQ(grid.totalHeight(), 150);
    // The picture is sized to the widest first-row tile, not to tile 1_1.
    EXPECT_EQ(grid.widestTile(), 150);
    EXPECT_EQ(grid.tallestTile(), 90);
    EXPECT_FALSE(grid.tileOrigin({0, 1}).has_value());
    EXPECT_FALSE(grid.tileOrigin({4, 1}).has_value());
    EXPECT_FALSE(grid.tileOrigin({1, 3}).has_value());
}

TEST_F(UnevenTiles, APointOnABoundaryBelongsToTheTileThatStartsThere)
{
    EXPECT_EQ(grid.tileAt({0, 0}), (Tile{1, 1}));
    EXPECT_EQ(grid.tileAt({99, 59}), (Tile{1, 1}));
    EXPECT_EQ(grid.tileAt({100, 59}), (Tile{2, 1}));
    EXPECT_EQ(grid.tileAt({100, 60}), (Tile{2, 2}));
    EXPECT_EQ(grid.tileAt({249, 149}), (Tile{2, 2}));
    EXPECT_EQ(grid.tileAt({250, 0}), (Tile{3, 1}));
    EXPECT_EQ(grid.tileAt({329, 149}), (Tile{3, 2}));
    // Outside the mosaic.
    EXPECT_FALSE(grid.tileAt({330, 0}).has_value());
    EXPECT_FALSE(grid.tileAt({0, 150}).has_value());
    EXPECT_FALSE(grid.tileAt({-1, 10}).has_value());
    EXPECT_FALSE(TileGrid().tileAt({0, 0}).has_value());
}

TEST(TileGrid, SizesThatCannotFormAMosaicAreRefused)
{
    EXPECT_FALSE(TileGrid::fromSizes({}, {10}).has_value());
    EXPECT_FALSE(TileGrid::fromSizes({10, 0}, {10}).has_value());
    EXPECT_FALSE(TileGrid::fromSizes({10}, {-5}).has_value());
    // Two tiles of a million pixels each are fine; three thousand of them overflow int.
    EXPECT_TRUE(TileGrid::fromSizes({1'000'000, 1'000'000}, {1}).has_value());
    EXPECT_FALSE(TileGrid::fromSizes(std::vector<int>(3000, 1'000'000), {1}).has_value());
}

TEST(TileGrid, LoadsTheSizesFromTheFirstRowAndColumnOfTileFiles)
{
    QTemporaryDir dir;
    const auto tile = [&](int column, int row, int width, int height) {
        BmpBytes{width, height, 24}.writeTo(dir.filePath(TileGrid::tileFileName(column, row)));
    };
    tile(1, 1, 40, 30);
    tile(2, 1, 50, 30);
    tile(1, 2, 40, 20);
    tile(1, 3, 40, 25);
    // Tiles off the first row and column are not read.
    QString error;
    const auto grid = TileGrid::load(dir.path(), 2, 3, &error);
    ASSERT_TRUE(grid.has_value()) << error.toStdString();
    EXPECT_EQ(grid->tileOrigin({2, 3}), QPoint(40, 50));
    EXPECT_EQ(grid->totalHeight(), 75);
    EXPECT_EQ(TileGrid::tileFileName(12, 3), QStringLiteral("12_3.bmp"));

    EXPECT_FALSE(TileGrid::load(dir.path(), 3, 1, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("3_1.bmp")));
    EXPECT_FALSE(TileGrid::load(dir.path(), 0, 1).has_value());
}
