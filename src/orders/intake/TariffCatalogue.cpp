#include "orders/intake/TariffCatalogue.h"

#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"

QStringList TariffCatalogue::names()
{
    m_dani.TRANZ_RIZNE.commitIfActive();
    QStringList names;
    for (const auto& row : m_dani.RIZNE.exec(QStringLiteral("SELECT TARIF_NAME FROM TARIFI")).rows)
        names << (row[0].isValid() ? row[0].toString() : QString());
    m_dani.TRANZ_RIZNE.commit();
    return names;
}

std::optional<TariffPrices> TariffCatalogue::lookup(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    m_dani.TRANZ_RIZNE.commitIfActive();
    const FbRows& rows = m_dani.RIZNE.exec(QStringLiteral("SELECT * FROM TARIFI\nWHERE (TARIF_NAME = ") +
                                           sql::text(name) + QLatin1Char(')'));
    std::optional<TariffPrices> prices;
    if (rows.rowCount() == 1) {
        const auto price = [&](const char* column) {
            return Money::fromStored(rows.value(0, QLatin1String(column))).shown();
        };
        prices = TariffPrices{price("TARIF_PRIINYATTA_ZAMOVL"), price("TARIF_KM_MISTO"),
                              price("TARIF_KM_ZA_MISTO"), price("TARIF_CINA_POPERED_ZAMOVL"),
                              price("TARIF_HV_PROSTOU")};
    }
    m_dani.TRANZ_RIZNE.commit();
    return prices;
}
