#include "citymap/TileGrid.h"

#include "citymap/BmpHeader.h"

#include <algorithm>
#include <limits>

namespace {
std::optional<std::vector<int>> startsOf(const std::vector<int>& sizes, int* largest)
{
    std::vector<int> starts{0};
    qint64 position = 0;
    *largest = 0;
    for (int size : sizes) {
        if (size <= 0)
            return std::nullopt;
        position += size;
        if (position > std::numeric_limits<int>::max())
            return std::nullopt;
        starts.push_back(int(position));
        *largest = std::max(*largest, size);
    }
    return starts;
}

// The index of the span that holds value, for starts beginning at 0 with the total last.
std::optional<int> spanOf(const std::vector<int>& starts, int value)
{
    if (starts.size() < 2 || value < 0 || value >= starts.back())
        return std::nullopt;
    const auto after = std::upper_bound(starts.begin(), starts.end(), value);
    return int(after - starts.begin()); // 1-based: the span starting just before value
}
} // namespace

std::optional<TileGrid> TileGrid::fromSizes(std::vector<int> columnWidths, std::vector<int> rowHeights,
                                            QString* error)
{
    TileGrid grid;
    auto columns = startsOf(columnWidths, &grid.m_widest);
    auto rows = startsOf(rowHeights, &grid.m_tallest);
    if (columnWidths.empty() || rowHeights.empty() || !columns || !rows) {
        if (error)
            *error = QStringLiteral("невірні розміри фрагментів карти");
        return std::nullopt;
    }
    grid.m_columnStarts = std::move(*columns);
    grid.m_rowStarts = std::move(*rows);
    return grid;
}

QString TileGrid::tileFileName(int column, int row)
{
    return QString::number(column) + QLatin1Char('_') + QString::number(row) + QStringLiteral(".bmp");
}

std::optional<TileGrid> TileGrid::load(const QString& folder, int columns, int rows, QString* error)
{
    if (columns < 1 || rows < 1) {
        if (error)
            *error = QStringLiteral("карта без фрагментів");
        return std::nullopt;
    }
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    std::vector<int> widths;
    for (int column = 1; column <= columns; ++column) {
        const auto tile = BmpHeader::readFile(prefix + tileFileName(column, 1), error);
        if (!tile)
            return std::nullopt;
        widths.push_back(tile->width);
    }
    std::vector<int> heights;
    for (int row = 1; row <= rows; ++row) {
        const auto tile = BmpHeader::readFile(prefix + tileFileName(1, row), error);
        if (!tile)
            return std::nullopt;
        heights.push_back(tile->height);
    }
    return fromSizes(std::move(widths), std::move(heights), error);
}

std::optional<QPoint> TileGrid::tileOrigin(const Tile& tile) const
{
    if (tile.column < 1 || tile.column > columns() || tile.row < 1 || tile.row > rows())
        return std::nullopt;
    return QPoint(m_columnStarts[std::size_t(tile.column - 1)], m_rowStarts[std::size_t(tile.row - 1)]);
}

std::optional<QSize> TileGrid::tileSize(const Tile& tile) const
{
    if (!tileOrigin(tile))
        return std::nullopt;
    const auto column = std::size_t(tile.column);
    const auto row = std::size_t(tile.row);
    return QSize(m_columnStarts[column] - m_columnStarts[column - 1],
                 m_rowStarts[row] - m_rowStarts[row - 1]);
}

std::optional<TileGrid::Tile> TileGrid::tileAt(const QPoint& point) const
{
    const auto column = spanOf(m_columnStarts, point.x());
    const auto row = spanOf(m_rowStarts, point.y());
    if (!column || !row)
        return std::nullopt;
    return Tile{*column, *row};
}
