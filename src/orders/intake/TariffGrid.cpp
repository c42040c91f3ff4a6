#include "orders/intake/TariffGrid.h"

#include "foundation/SqlLiteral.h"
#include "orders/intake/TarifIni.h"

#include <algorithm>

TariffGrid TariffGrid::fromFile()
{
    return TariffGrid(IniFile::load(TarifIni::filePath()));
}

TariffGrid::StoredPair TariffGrid::storedValues(const QString& streetA, const QString& streetB) const
{
    const auto key = [](const QString& from, const QString& to) {
        return QStringLiteral("L{") + from + QStringLiteral("}->{") + to + QLatin1Char('}');
    };
    const QString section = QStringLiteral("TARIFSITKA");
    return {m_ini.readString(section, key(streetA, streetB)),
            m_ini.readString(section, key(streetB, streetA))};
}

std::optional<double> TariffGrid::metresBetween(const QString& streetA, const QString& streetB) const
{
    const StoredPair stored = storedValues(streetA, streetB);
    if (stored.forward.isEmpty() && stored.backward.isEmpty())
        return std::nullopt;
    return std::max(typedAmount(stored.forward), typedAmount(stored.backward));
}
