#include "DemoMapWriter.h"

#include "DemoMapPainter.h"
#include "citymap/TileGrid.h"
#include "platform/IniFile.h"

#include <QDir>
#include <numeric>

namespace {
QVector<int> cut(int total, int piece)
{
    QVector<int> sizes;
    for (int done = 0; done < total; done += piece)
        sizes.push_back(std::min(piece, total - done));
    return sizes;
}

int roundUp(int value, int step)
{
    return (value + step - 1) / step * step;
}
} // namespace

DemoMapLayout DemoMapLayout::covering(const QPoint& extent, const QSize& tile, int margin)
{
    const int width = roundUp(std::max(extent.x(), 0) + margin, 10);
    const int height = roundUp(std::max(extent.y(), 0) + margin, 10);
    return DemoMapLayout{cut(width, tile.width()), cut(height, tile.height())};
}

int DemoMapLayout::totalWidth() const
{
    return std::accumulate(columnWidths.cbegin(), columnWidths.cend(), 0);
}

int DemoMapLayout::totalHeight() const
{
    return std::accumulate(rowHeights.cbegin(), rowHeights.cend(), 0);
}

QRect DemoMapLayout::tileRect(int column, int row) const
{
    const int x = std::accumulate(columnWidths.cbegin(), columnWidths.cbegin() + (column - 1), 0);
    const int y = std::accumulate(rowHeights.cbegin(), rowHeights.cbegin() + (row - 1), 0);
    return QRect(x, y, columnWidths[column - 1], rowHeights[row - 1]);
}

QString DemoMapWriter::folderName(const QString& cityName)
{
    const QString name = cityName.trimmed();
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name == QStringLiteral(".") ||
        name == QStringLiteral(".."))
        return QStringLiteral("KARTA");
    return name;
}

QString DemoMapWriter::write(const DemoMapCity& city, const QString& baseFolder, const QString& name,
                             const QSize& tile)
{
    if (tile.width() < 100 || tile.height() < 100)
        return QStringLiteral("a tile must be at least 100 x 100 pixels");
    const DemoMapLayout layout = DemoMapLayout::covering(city.extent(), tile);
    const DemoMapPainter painter(city);
    QDir base(baseFolder);
    const QString fresh = name + QStringLiteral(".new");
    QDir(base.filePath(fresh)).removeRecursively();
    if (!base.mkpath(fresh))
        return QStringLiteral("cannot create ") + base.filePath(fresh);
    for (int column = 1; column <= layout.columnWidths.size(); ++column)
        for (int row = 1; row <= layout.rowHeights.size(); ++row) {
            const QString path = base.filePath(fresh + u'/' + TileGrid::tileFileName(column, row));
            if (!painter.paint(layout.tileRect(column, row)).save(path, "BMP"))
                return QStringLiteral("cannot write ") + path;
        }
    QDir(base.filePath(name)).removeRecursively();
    if (!base.rename(fresh, name))
        return QStringLiteral("cannot rename ") + base.filePath(fresh);

    IniFile ini;
    const QString section = QStringLiteral("KARTA_MISTA");
    ini.writeString(section, QStringLiteral("NAME"), name);
    ini.writeString(section, QStringLiteral("KIL_X"), QString::number(layout.columnWidths.size()));
    ini.writeString(section, QStringLiteral("KIL_Y"), QString::number(layout.rowHeights.size()));
    ini.writeString(section, QStringLiteral("MAX_X"), QString::number(layout.totalWidth()));
    ini.writeString(section, QStringLiteral("MAX_Y"), QString::number(layout.totalHeight()));
    ini.writeString(section, QStringLiteral("LENGTH"), QString::number(kMetresPerCm));
    ini.writeString(section, QStringLiteral("SKOROST"), QString::number(kScrollStep));
    ini.writeString(section, QStringLiteral("LENGTH_TOCHKA"), QString::number(kPixelsPerCm));
    return ini.save(base.filePath(QStringLiteral("SETTING_KART.INI")));
}
