#pragma once

#include "DemoMapCity.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

// The tile grid of the demo map: full tiles of one size from the top-left corner, and the
// last column and row as wide and high as the rest of the city needs, as a map cut into
// tiles usually ends.
struct DemoMapLayout
{
    QVector<int> columnWidths;
    QVector<int> rowHeights;

    // Covers the extent and a margin beyond it, rounded up to whole tens of pixels.
    static DemoMapLayout covering(const QPoint& extent, const QSize& tile, int margin = 150);
    int totalWidth() const;
    int totalHeight() const;
    // Map coordinates of a tile; columns and rows count from 1.
    QRect tileRect(int column, int row) const;
};

// Writes SETTING_KART.INI into a base folder and the tiles into its folder NAME, as the
// workstation reads them. The tiles go to a new folder that replaces the old one only when
// all of them are written, and the settings file is written last, so an interrupted run
// never pairs the settings with half a tile set.
namespace DemoMapWriter {
// 2 metres per pixel: 100 metres per centimetre at 50 pixels per centimetre.
inline constexpr int kMetresPerCm = 100;
inline constexpr int kPixelsPerCm = 50;
inline constexpr int kScrollStep = 100;

// A name that cannot be a folder of its own becomes "KARTA".
QString folderName(const QString& cityName);
// Empty on success, else the reason.
QString write(const DemoMapCity& city, const QString& baseFolder, const QString& name, const QSize& tile);
} // namespace DemoMapWriter
