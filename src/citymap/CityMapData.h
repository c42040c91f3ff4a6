#pragma once

#include "citymap/MapPoints.h"
#include "citymap/MapPointsLoader.h"
#include "citymap/MapSettings.h"
#include "citymap/MapView.h"
#include "citymap/StreetNetwork.h"
#include "citymap/TileGrid.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

class MessagesView;
class IClock;
class TDANI;

// The city map below its window, and its one owner: the map settings and scale, the
// tile grid, the point table and whether the map is in use. Loaded at every log-in;
// without a map (no settings file, or any failure while loading) dispatch falls back to
// the district tables. Points put on the map elsewhere are read as the data module
// announces them. The street network the route measurement searches is built with the
// map and kept current: a point that arrives is added to it, and a change of the one-way
// list in the settings replaces its one-way passages. Dispatch and the windows read it
// through a const reference.
class CityMapData : public QObject
{
    Q_OBJECT
public:
    struct LoadResult
    {
        bool mapSupported = false;
        QString failure;    // why the map is not used (empty with a map)
        QStringList report; // lines for the messages window, top to bottom; empty with a map
        bool districtTablesNeeded = false;
    };

    // A map read in full but not yet in force: either all of it or why it cannot be used.
    struct Reading
    {
        std::optional<MapSettings> settings; // none: the map is not used, see failure
        TileGrid tiles;
        MapPoints points;
        StreetDirectory streets;
        QString failure;
    };

    CityMapData(TDANI& dani, const IClock& clock, QObject* parent = nullptr);

    static QString settingsFilePath(); // SETTING_KART.INI in the executable's folder

    // Reads the settings, the tile sizes and the point table. Everything is read first
    // and kept only when all of it succeeded, so a failed load leaves the earlier point
    // table as it was. Without a map the result asks for the district tables.
    LoadResult LoadMap(const MapPointsLoader::Progress& progress = {});
    // LoadMap in two steps, for a caller that must read everything else too before any
    // of it takes effect: read changes nothing here, putInForce cannot fail.
    Reading read(const MapPointsLoader::Progress& progress = {}) const;
    LoadResult putInForce(Reading reading);
    // Puts a map in force, in use from now on (LoadMap's last step once all was read),
    // and builds its street network with the one-way list of the settings.
    void adopt(const MapSettings& settings, TileGrid tiles, MapPoints points, StreetDirectory streets = {});

    bool MapSupported() const { return m_supported; }
    const MapPoints& points() const { return m_points; }
    // For a dispatcher without the map right: the map stays loaded but is not used, and
    // the district tables are not rebuilt.
    void switchOff() { m_supported = false; }

    const StreetNetwork& streetNetwork() const { return m_network; }
    // The warnings about the one-way entries the network could not read (empty when all
    // were read); the settings window shows them beside the list.
    const QStringList& oneWayWarnings() const { return m_oneWayWarnings; }

    const MapSettings& settings() const { return m_settings; }
    const TileGrid& tiles() const { return m_tiles; }
    MapView& view() { return m_view; }
    const MapView& view() const { return m_view; }
    // Tile file of a grid position, under the tile folder.
    QString tilePath(const TileGrid::Tile& tile) const;

    // The scale texts the map window shows; "0" while the map is not used.
    QString lengthText() const { return m_supported ? m_settings.length : QStringLiteral("0"); }
    QString pixelsPerCmText() const { return m_supported ? m_settings.pixelsPerCm : QStringLiteral("0"); }
    QString scrollStepText() const { return m_supported ? m_settings.scrollStep : QStringLiteral("0"); }
    // Metres per map pixel and for a distance in pixels; nothing without a map in use or
    // without a usable scale.
    std::optional<double> metresPerPixel() const;
    std::optional<double> metres(double pixels) const;

    static QStringList fallbackReport(const QDateTime& now);
    // Puts report lines at the top of the messages window so that they read top to
    // bottom, and opens the window unless it is showing.
    static void showReport(const QStringList& lines, MessagesView& view);

signals:
    // A map was put in force: its window starts again at tile 1_1.
    void loaded();
    // Points put on the map by another workstation were added to the table.
    void pointsAdded(const MapPoints& added);

private:
    LoadResult fallBack(const QString& failure);
    static Reading unusable(const QString& failure);
    // Reads the points numbered from the table's size on, with one query.
    void loadNewPoints();
    QStringList oneWayEntries() const;
    void settingChanged(const QString& key);
    void tellSkippedOneWayEntries(const OneWayPassages& read);

    TDANI& m_dani;
    const IClock& m_clock;
    bool m_supported = false;
    MapSettings m_settings;
    TileGrid m_tiles;
    MapView m_view;
    MapPoints m_points;
    StreetNetwork m_network;
    QStringList m_oneWayWarnings;
};
