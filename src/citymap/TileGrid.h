#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

// The map's coordinate grid: KIL_X columns × KIL_Y rows of bitmap tiles, x to the right
// and y downwards from the top-left corner of tile 1_1. Every tile of a column is as wide
// as the column's tile in row 1, and every tile of a row as high as the row's tile in
// column 1, so the sizes of the first row and the first column lay out the whole mosaic.
// Columns and rows count from 1.
class TileGrid
{
public:
    struct Tile
    {
        int column = 0;
        int row = 0;
        bool operator==(const Tile&) const = default;
    };

    TileGrid() = default;
    // Widths of the row-1 tiles left to right, heights of the column-1 tiles top to
    // bottom. Fails when a size is not positive or the mosaic would not fit in int.
    static std::optional<TileGrid> fromSizes(std::vector<int> columnWidths, std::vector<int> rowHeights,
                                             QString* error = nullptr);
    // Reads the sizes from the tiles' headers in folder ("folder/column_row.bmp"); fails
    // on the first missing or unreadable tile.
    static std::optional<TileGrid> load(const QString& folder, int columns, int rows,
                                        QString* error = nullptr);
    // "3_2.bmp": no leading zeros.
    static QString tileFileName(int column, int row);

    int columns() const { return m_columnStarts.empty() ? 0 : int(m_columnStarts.size()) - 1; }
    int rows() const { return m_rowStarts.empty() ? 0 : int(m_rowStarts.size()) - 1; }
    int totalWidth() const { return m_columnStarts.empty() ? 0 : m_columnStarts.back(); }
    int totalHeight() const { return m_rowStarts.empty() ? 0 : m_rowStarts.back(); }
    // The picture must hold the largest tile of the first row and of the first column.
    int widestTile() const { return m_widest; }
    int tallestTile() const { return m_tallest; }

    // Top-left corner of a tile in map coordinates; nothing for a tile outside the grid.
    std::optional<QPoint> tileOrigin(const Tile& tile) const;
    // Width of the tile's column and height of its row; nothing outside the grid.
    std::optional<QSize> tileSize(const Tile& tile) const;
    // The tile that holds a point. A point on a boundary belongs to the tile that starts
    // there; a point outside the mosaic is in no tile.
    std::optional<Tile> tileAt(const QPoint& point) const;

private:
    // starts[i] is where column (row) i + 1 begins; the last element is the total size.
    std::vector<int> m_columnStarts;
    std::vector<int> m_rowStarts;
    int m_widest = 0;
    int m_tallest = 0;
};
