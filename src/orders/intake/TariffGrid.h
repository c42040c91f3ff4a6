#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <optional>

// The tariff grid of TARIF.INI (section TARIFSITKA): fixed distances in metres between
// two streets of the own city, under "L{A}->{B}". The administrator may have written a
// pair in either order, or both; the larger distance wins.
class TariffGrid
{
public:
    // Read on demand, each time a distance is asked for, so the newest file counts.
    static TariffGrid fromFile();
    explicit TariffGrid(IniFile ini) : m_ini(std::move(ini)) {}

    // The two stored texts of a pair: "L{A}->{B}" and "L{B}->{A}", empty when missing.
    struct StoredPair
    {
        QString forward;
        QString backward;
    };
    StoredPair storedValues(const QString& streetA, const QString& streetB) const;

    // Metres, or nothing when neither order of the pair is in the grid. A value that
    // does not read as a number ("." or "," decimals) counts as 0.
    std::optional<double> metresBetween(const QString& streetA, const QString& streetB) const;

private:
    IniFile m_ini;
};
