#include "orders/intake/TariffGrid.h"

#include "foundation/SqlLiteral.h"
#include "orders/intake/TarifIni.h"

#include <algorithm>

TariffGrid TariffGrid::fromFile()
{
    return TariffGrid(IniFile::load(TarifIni::filePath()));
}

std::optional<double> TariffGrid::metresBetween(const QString& streetA, const QString& streetB) const
{
    const auto key = [](const QString& from, const QString& to) {
        return QStringLiteral("L{") + from + QStringLiteral("}->{") + to + QLatin1Char('}');
    };
    const QString section = QStringLiteral("TARIFSITKA");
    const QString forward = m_ini.readString(section, key(streetA, streetB));
    const QString backward = m_ini.readString(section, key(streetB, streetA));
    if (forward.isEmpty() && backward.isEmpty())
        return std::nullopt;
    return std::max(typedAmount(forward), typedAmount(backward));
}
