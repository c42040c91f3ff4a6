#include "orders/intake/OnlineMapAddress.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"

#include <cmath>

namespace {

// The settings keep real numbers with "." whoever edited TARIF.INI.
double real(const SettingsStore& settings, const QString& key)
{
    return settings.value(key).trimmed().toDouble();
}

} // namespace

MapBinding MapBinding::fromSettings(const SettingsStore& settings)
{
    MapBinding binding;
    binding.x = real(settings, SettingKeys::kBindingX);
    binding.y = real(settings, SettingKeys::kBindingY);
    binding.longitude = real(settings, SettingKeys::kBindingLongitude);
    binding.latitude = real(settings, SettingKeys::kBindingLatitude);
    binding.mapSpanX = real(settings, SettingKeys::kBindingMapSpanX);
    binding.mapSpanY = real(settings, SettingKeys::kBindingMapSpanY);
    binding.longitudeSpan = real(settings, SettingKeys::kBindingLongitudeSpan);
    binding.latitudeSpan = real(settings, SettingKeys::kBindingLatitudeSpan);
    return binding;
}

double MapBinding::longitudeOf(int mapX) const
{
    return longitude + (mapX - std::trunc(x)) / mapSpanX * longitudeSpan;
}

double MapBinding::latitudeOf(int mapY) const
{
    return latitude + (mapY - std::trunc(y)) / mapSpanY * latitudeSpan;
}

namespace OnlineMapAddress {

QString baseAddress()
{
    return QStringLiteral("https://maps.visicom.ua/");
}

QString coordinate(double degrees)
{
    // Six decimals are a tenth of a metre: finer means nothing on a city map.
    QString text = QString::number(degrees, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QUrl route(const QString& base, const MapBinding& binding, QPoint start, QPoint destination)
{
    const QString lng = coordinate(binding.longitudeOf(start.x()));
    const QString lat = coordinate(binding.latitudeOf(start.y()));
    const QString lngTo = coordinate(binding.longitudeOf(destination.x()));
    const QString latTo = coordinate(binding.latitudeOf(destination.y()));
    return QUrl(base + QStringLiteral("#lng=") + lng + QStringLiteral(";lat=") + lat +
                QStringLiteral(";z=10;map=ukraine_ru") + QStringLiteral(";lngm=") + lng +
                QStringLiteral(";latm=") + lat + QStringLiteral(";lngms=") + lng + QStringLiteral(";latms=") +
                lat + QStringLiteral(";lngmf=") + lngTo + QStringLiteral(";latmf=") + latTo +
                QLatin1Char(';'));
}

} // namespace OnlineMapAddress
