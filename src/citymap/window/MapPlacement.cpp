#include "citymap/window/MapPlacement.h"

#include <algorithm>
#include <cmath>

namespace MapScroll {
namespace {

// One axis of the placement: the picture's position and size, the tile index, the view
// offset and the viewport's length along it.
struct Axis
{
    int& position;
    int size;
    int& index;
    int& offset;
    int viewport;
    int last;
};

// Towards the start of the map (left or up).
template <typename SizeOf> bool towardsStart(Axis axis, int step, SizeOf sizeOf, int& newSize)
{
    axis.position += step;
    if (axis.position <= 0)
        return false;
    if (axis.index == 1) {
        axis.position = 0;
        axis.offset = 0;
        return false;
    }
    axis.index -= 1;
    newSize = sizeOf(axis.index);
    axis.offset -= newSize;
    axis.position = axis.viewport - newSize;
    return true;
}

// Towards the end of the map (right or down).
template <typename SizeOf> bool towardsEnd(Axis axis, int step, SizeOf sizeOf, int& newSize)
{
    axis.position -= step;
    if (axis.position >= axis.viewport - axis.size)
        return false;
    if (axis.index < axis.last) {
        axis.offset += axis.size;
        axis.index += 1;
        newSize = sizeOf(axis.index);
        axis.position = 0;
        return true;
    }
    axis.position = axis.viewport - axis.size;
    return false;
}

int keptOver(int position, int viewport, int size)
{
    return std::min(0, std::max(viewport - size, position));
}

} // namespace

MapPlacement scroll(const TileGrid& grid, const QSize& viewport, const MapPlacement& from,
                    ScrollDirection direction, int step)
{
    MapPlacement to = from;
    int picX = to.picture.x(), picY = to.picture.y(), offX = to.view.offset.x(), offY = to.view.offset.y();
    const auto width = [&](int column) {
        return grid.tileSize({column, to.view.row}).value_or(QSize()).width();
    };
    const auto height = [&](int row) {
        return grid.tileSize({to.view.column, row}).value_or(QSize()).height();
    };
    int newSize = 0;
    Axis horizontal{picX, from.pictureSize.width(), to.view.column, offX, viewport.width(), grid.columns()};
    Axis vertical{picY, from.pictureSize.height(), to.view.row, offY, viewport.height(), grid.rows()};
    bool changed = false;
    switch (direction) {
    case ScrollDirection::Left:
        changed = towardsStart(horizontal, step, width, newSize);
        break;
    case ScrollDirection::Right:
        changed = towardsEnd(horizontal, step, width, newSize);
        break;
    case ScrollDirection::Up:
        changed = towardsStart(vertical, step, height, newSize);
        break;
    case ScrollDirection::Down:
        changed = towardsEnd(vertical, step, height, newSize);
        break;
    }
    to.picture = QPoint(picX, picY);
    to.view.offset = QPoint(offX, offY);
    if (changed)
        to.pictureSize = grid.tileSize(to.tile()).value_or(to.pictureSize);
    return to;
}

std::optional<MapPlacement> centredOn(const TileGrid& grid, const QSize& viewport, const QPoint& point)
{
    const auto tile = grid.tileAt(point);
    if (!tile)
        return std::nullopt;
    MapPlacement to;
    to.view.column = tile->column;
    to.view.row = tile->row;
    to.view.offset = *grid.tileOrigin(*tile);
    to.pictureSize = *grid.tileSize(*tile);
    const int left = int(std::lround(viewport.width() / 2.0)) + to.view.offset.x() - point.x();
    const int top = int(std::lround(viewport.height() / 2.0)) + to.view.offset.y() - point.y();
    to.picture = QPoint(keptOver(left, viewport.width(), to.pictureSize.width()),
                        keptOver(top, viewport.height(), to.pictureSize.height()));
    return to;
}

} // namespace MapScroll
