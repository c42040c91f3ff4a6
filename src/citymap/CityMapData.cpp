#include "citymap/CityMapData.h"

#include "foundation/DataModuleView.h"
#include "foundation/TDANI.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"

#include <QFileInfo>

CityMapData::CityMapData(TDANI& dani, const IClock& clock) : m_dani(dani), m_clock(clock) {}

QString CityMapData::settingsFilePath()
{
    return BaseFolder::file(QStringLiteral("SETTING_KART.INI"));
}

CityMapData::LoadResult CityMapData::LoadMap(const MapPointsLoader::Progress& progress)
{
    if (!QFileInfo(settingsFilePath()).isFile())
        return fallBack(QStringLiteral("Не знайдено ") + settingsFilePath());
    QString error;
    const auto settings = MapSettings::read(IniFile::load(settingsFilePath()), &error);
    if (!settings)
        return fallBack(error);
    auto tiles = TileGrid::load(settings->tileFolder(), settings->tileColumns, settings->tileRows, &error);
    if (!tiles)
        return fallBack(error);
    auto points = MapPointsLoader::load(m_dani, progress, &error);
    if (!points)
        return fallBack(error);

    m_settings = *settings;
    m_tiles = std::move(*tiles);
    m_view = MapView{};
    m_dani.mapPoints = std::move(*points);
    m_supported = true;
    LoadResult result;
    result.mapSupported = true;
    return result;
}

CityMapData::LoadResult CityMapData::fallBack(const QString& failure)
{
    m_supported = false;
    if (loadRegions)
        loadRegions();
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

void CityMapData::showReport(const QStringList& lines, DataModuleView& view)
{
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        view.insertMessageLineAtTop(*line);
    if (!view.messagesFormShowing())
        view.showMessagesForm();
}
