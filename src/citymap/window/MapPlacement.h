#pragma once

#include "citymap/MapView.h"
#include "citymap/TileGrid.h"

#include <QPoint>
#include <QSize>
#include <optional>

// Where the map window shows the map: the tile with its map offset, and the tile picture's
// position and size inside the viewport (its left and top may be negative).
struct MapPlacement
{
    MapView view;
    QPoint picture; // left, top inside the viewport
    QSize pictureSize;

    TileGrid::Tile tile() const { return {view.column, view.row}; }
    bool operator==(const MapPlacement& other) const
    {
        return view.column == other.view.column && view.row == other.view.row &&
               view.offset == other.view.offset && picture == other.picture &&
               pictureSize == other.pictureSize;
    }
};

enum class ScrollDirection { Left, Right, Up, Down };

// The scroll arithmetic of one click, without loading anything: the caller loads the new
// tile when the tile changed, and keeps the old placement when that fails.
namespace MapScroll {

// Moves the picture by step pixels. When an edge of the picture comes inside the
// viewport, the neighbouring tile takes its place; at the first or last column (row) the
// picture stops with its edge on the viewport's edge.
MapPlacement scroll(const TileGrid& grid, const QSize& viewport, const MapPlacement& from,
                    ScrollDirection direction, int step);

// The placement that shows point (map coordinates) in the middle of the viewport, with
// the picture kept over the viewport; nothing for a point beyond the tile grid.
std::optional<MapPlacement> centredOn(const TileGrid& grid, const QSize& viewport, const QPoint& point);

} // namespace MapScroll
