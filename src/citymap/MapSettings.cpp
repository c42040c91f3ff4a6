#include "citymap/MapSettings.h"

#include "foundation/SqlLiteral.h"
#include "platform/BaseFolder.h"
#include "platform/IniFile.h"

#include <cmath>

namespace {
const QString kSection = QStringLiteral("KARTA_MISTA");

bool readWholeNumber(const IniFile& ini, const char* key, int* value, QString* error)
{
    bool ok = false;
    *value = ini.readString(kSection, QLatin1String(key)).toInt(&ok);
    if (!ok && error)
        *error =
            QStringLiteral("SETTING_KART.INI: ") + QLatin1String(key) + QStringLiteral(" не є цілим числом");
    return ok;
}
} // namespace

std::optional<MapSettings> MapSettings::read(const IniFile& ini, QString* error)
{
    MapSettings settings;
    settings.name = ini.readString(kSection, QStringLiteral("NAME"));
    if (!readWholeNumber(ini, "KIL_X", &settings.tileColumns, error) ||
        !readWholeNumber(ini, "KIL_Y", &settings.tileRows, error) ||
        !readWholeNumber(ini, "MAX_X", &settings.maxX, error) ||
        !readWholeNumber(ini, "MAX_Y", &settings.maxY, error))
        return std::nullopt;
    settings.length = ini.readString(kSection, QStringLiteral("LENGTH"));
    settings.scrollStep = ini.readString(kSection, QStringLiteral("SKOROST"));
    settings.pixelsPerCm = ini.readString(kSection, QStringLiteral("LENGTH_TOCHKA"));
    return settings;
}

QString MapSettings::tileFolder() const
{
    QString folder = name;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return BaseFolder::file(folder);
}

std::optional<double> MapSettings::metresPerPixel() const
{
    const double metresPerCm = typedAmount(length);
    const double pixels = typedAmount(pixelsPerCm);
    if (metresPerCm == 0.0 || pixels == 0.0)
        return std::nullopt;
    const double scale = metresPerCm / pixels;
    return std::isfinite(scale) ? std::optional<double>(scale) : std::nullopt;
}

std::optional<double> MapSettings::metres(double pixels) const
{
    const auto scale = metresPerPixel();
    return scale ? std::optional<double>(pixels * *scale) : std::nullopt;
}
