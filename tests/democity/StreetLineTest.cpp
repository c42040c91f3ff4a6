#include "StreetLine.h"
#include "DemoMapWriter.h"

#include <gtest/gtest.h>

TEST(StreetLine, PointsAreOrderedFromOneEndToTheOtherWhateverTheDirection)
{
    // A 45-degree avenue running up to the right, its points in database order.
    const QVector<QPoint> avenue{{300, 700}, {100, 900}, {500, 500}, {200, 800}, {400, 600}};
    const QVector<QPoint> ordered = StreetLine::through(avenue);
    ASSERT_EQ(ordered.size(), 5);
    const bool forward = ordered.front() == QPoint(100, 900);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ordered[forward ? i : 4 - i], QPoint(100 + 100 * i, 900 - 100 * i));

    // A vertical street: x is the same everywhere, so only y can order it.
    const QVector<QPoint> vertical = StreetLine::through({{50, 30}, {50, 10}, {50, 20}});
    EXPECT_EQ(vertical, (QVector<QPoint>{{50, 10}, {50, 20}, {50, 30}}));
}

TEST(StreetLine, APointSharedByTwoRowsIsDrawnOnce)
{
    // A stand on a crossing is on the street as a stand and as the crossing.
    EXPECT_EQ(StreetLine::through({{10, 5}, {20, 5}, {10, 5}}), (QVector<QPoint>{{10, 5}, {20, 5}}));
    EXPECT_EQ(StreetLine::through({{10, 5}}).size(), 1);
    EXPECT_TRUE(StreetLine::through({}).isEmpty());
}

TEST(DemoMapLayout, FullTilesFromTheCornerAndANarrowerLastColumnAndRow)
{
    const DemoMapLayout layout = DemoMapLayout::covering(QPoint(3705, 2601), QSize(1000, 750));
    // 3705 + 150 = 3855, rounded up to 3860; 2601 + 150 = 2751, to 2760.
    EXPECT_EQ(layout.columnWidths, (QVector<int>{1000, 1000, 1000, 860}));
    EXPECT_EQ(layout.rowHeights, (QVector<int>{750, 750, 750, 510}));
    EXPECT_EQ(layout.totalWidth(), 3860);
    EXPECT_EQ(layout.totalHeight(), 2760);
    EXPECT_EQ(layout.tileRect(4, 2), QRect(3000, 750, 860, 750));
    EXPECT_EQ(layout.tileRect(1, 4), QRect(0, 2250, 1000, 510));

    // A city smaller than one tile is one tile.
    const DemoMapLayout small = DemoMapLayout::covering(QPoint(200, 100), QSize(1000, 750));
    EXPECT_EQ(small.columnWidths, QVector<int>{350});
    EXPECT_EQ(small.rowHeights, QVector<int>{250});
}

TEST(DemoMapLayout, AFolderNameIsNeverAPath)
{
    EXPECT_EQ(DemoMapWriter::folderName(QStringLiteral(" Ясногород ")), QStringLiteral("Ясногород"));
    for (const char* bad : {"", "..", "../bin", "C:\\maps", "."})
        EXPECT_EQ(DemoMapWriter::folderName(QString::fromUtf8(bad)), QStringLiteral("KARTA")) << bad;
}
