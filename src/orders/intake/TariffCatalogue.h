#pragma once

#include "orders/intake/Price.h"

#include <QStringList>
#include <optional>

class TDANI;

// The tariffs of TARIFI: the names for the tariff drop-down, and one tariff's prices.
class TariffCatalogue
{
public:
    explicit TariffCatalogue(TDANI& dani) : m_dani(dani) {}

    // Every TARIF_NAME in the order the database returns them. Throws DbError.
    QStringList names();
    // The prices of the tariff of that name, read once; none when the name has no row or
    // several (a tariff that is not unambiguous has no prices to offer). Throws DbError.
    std::optional<TariffPrices> lookup(const QString& name);

private:
    TDANI& m_dani;
};
