#include "citymap/CityMapData.h"

#include "citymap/StreetDirectoryLoader.h"
#include "foundation/MessagesView.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompts.h"

#include <QFileInfo>

CityMapData::CityMapData(TDANI& dani, const IClock& clock, QObject* parent)
    : QObject(parent), m_dani(dani), m_clock(clock)
{
    connect(&dani, &TDANI::mapPointsAdded, this, &CityMapData::loadNewPoints);
    connect(&dani.settings(), &SettingsStore::valueChanged, this, &CityMapData::settingChanged);
}

QString CityMapData::settingsFilePath()
{
    return BaseFolder::file(QStringLiteral("SETTING_KART.INI"));
}

CityMapData::LoadResult CityMapData::LoadMap(const MapPointsLoader::Progress& progress)
{
    return putInForce(read(progress));
}

CityMapData::Reading CityMapData::read(const MapPointsLoader::Progress& progress) const
{
    if (!QFileInfo(settingsFilePath()).isFile())
        return unusable(QStringLiteral("Не знайдено ") + settingsFilePath());
    QString error;
    auto settings = MapSettings::read(IniFile::load(settingsFilePath()), &error);
    if (!settings)
        return unusable(error);
    auto tiles = TileGrid::load(settings->tileFolder(), settings->tileColumns, settings->tileRows, &error);
    if (!tiles)
        return unusable(error);
    auto points = MapPointsLoader::load(m_dani.RIZNE, 0, progress, &error);
    if (!points)
        return unusable(error);
    points->growTo(1); // entry 0 is there even for an empty table
    auto streets = StreetDirectoryLoader::load(m_dani, &error);
    if (!streets)
        return unusable(error);
    Reading reading;
    reading.settings = std::move(settings);
    reading.tiles = std::move(*tiles);
    reading.points = std::move(*points);
    reading.streets = std::move(*streets);
    return reading;
}

CityMapData::LoadResult CityMapData::putInForce(Reading reading)
{
    if (!reading.settings)
        return fallBack(reading.failure);
    adopt(*reading.settings, std::move(reading.tiles), std::move(reading.points), std::move(reading.streets));
    LoadResult result;
    result.mapSupported = true;
    return result;
}

CityMapData::Reading CityMapData::unusable(const QString& failure)
{
    Reading reading;
    reading.failure = failure;
    return reading;
}

void CityMapData::adopt(const MapSettings& settings, TileGrid tiles, MapPoints points,
                        StreetDirectory streets)
{
    m_settings = settings;
    m_tiles = std::move(tiles);
    m_view = MapView{};
    m_points = std::move(points);
    m_supported = true;
    tellSkippedOneWayEntries(m_network.build(std::move(streets), m_points, oneWayEntries()));
    emit loaded();
}

QStringList CityMapData::oneWayEntries() const
{
    // Empty lines are kept, so that a warning names the entry's place in the list.
    const QString list = m_dani.settings().value(SettingKeys::kOneWayStreets);
    return list.isEmpty() ? QStringList{} : list.split(QLatin1Char('\n'));
}

void CityMapData::settingChanged(const QString& key)
{
    if (key == SettingKeys::kOneWayStreets)
        tellSkippedOneWayEntries(m_network.setOneWayEntries(oneWayEntries()));
}

void CityMapData::tellSkippedOneWayEntries(const OneWayPassages& read)
{
    const QStringList warnings = read.warnings();
    if (warnings == m_oneWayWarnings)
        return;
    m_oneWayWarnings = warnings;
    m_dani.settings().setValue(SettingKeys::kOneWayStreetsGroup, SettingKeys::kOneWayStreetsSkipped,
                               warnings.join(QLatin1Char('\n')));
}

void CityMapData::loadNewPoints()
{
    // The events' own query: an alert may arrive while an operation's dialog is open and
    // that operation still reads the rows of the other scratch queries.
    QString error;
    const auto added = MapPointsLoader::load(m_dani.RIZNE_EVENTS, m_points.size(), {}, &error);
    if (!added) {
        m_dani.prompts().message(error);
        return;
    }
    if (added->count() == 0)
        return;
    for (const auto& [number, point] : *added) {
        m_points.set(number, point);
        m_network.addPoint(number, point);
    }
    emit pointsAdded(*added);
}

CityMapData::LoadResult CityMapData::fallBack(const QString& failure)
{
    m_supported = false;
    LoadResult result;
    result.failure = failure;
    result.report = fallbackReport(m_clock.now());
    result.districtTablesNeeded = true;
    return result;
}

QString CityMapData::tilePath(const TileGrid::Tile& tile) const
{
    return m_settings.tileFolder() + QLatin1Char('/') + TileGrid::tileFileName(tile.column, tile.row);
}

std::optional<double> CityMapData::metresPerPixel() const
{
    return m_supported ? m_settings.metresPerPixel() : std::nullopt;
}

std::optional<double> CityMapData::metres(double pixels) const
{
    return m_supported ? m_settings.metres(pixels) : std::nullopt;
}

QStringList CityMapData::fallbackReport(const QDateTime& now)
{
    return {
        QString(38, QLatin1Char('*')),
        QStringLiteral("[Системне повідомлення]"),
        now.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")),
        QString(),
        QStringLiteral("Не найдено файл налаштувань підтримки карти свого міста."),
        QStringLiteral("Загрузка налаштувань районо-секторних данних."),
        QString(),
    };
}

void CityMapData::showReport(const QStringList& lines, MessagesView& view)
{
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        view.insertMessageLineAtTop(*line);
    if (!view.messagesFormShowing())
        view.showMessagesForm();
}
