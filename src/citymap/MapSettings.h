#pragma once

#include <QString>
#include <optional>

class IniFile;

// SETTING_KART.INI, section KARTA_MISTA: the tile folder, the grid size and the scale.
// The display values stay text, as the map window shows them.
struct MapSettings
{
    QString name; // tile folder, also the map window's caption
    int tileColumns = 0;
    int tileRows = 0;
    int maxX = 0;
    int maxY = 0;
    QString length;      // metres per centimetre of the map
    QString scrollStep;  // pixels per scroll click
    QString pixelsPerCm; // LENGTH_TOCHKA

    // Fails when KIL_X, KIL_Y, MAX_X or MAX_Y is not a whole number (missing included).
    static std::optional<MapSettings> read(const IniFile& ini, QString* error = nullptr);

    // The folder of the tiles, under the executable's folder; a name written on Windows
    // with "\" separators is accepted.
    QString tileFolder() const;

    // LENGTH ÷ LENGTH_TOCHKA. Nothing when either is 0 or unreadable: a distance is then
    // unknown, never infinite, and never a 0 that would put every stand within reach.
    std::optional<double> metresPerPixel() const;
    std::optional<double> metres(double pixels) const;
};
