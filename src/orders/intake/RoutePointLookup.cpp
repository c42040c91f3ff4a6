#include "orders/intake/RoutePointLookup.h"

#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"

std::optional<RouteItem> RoutePointLookup::itemFor(const QString& storedAddress, BuildingMatch match)
{
    // Only the part before a marker was ever stored; what a stray "<" leaves is cut.
    const std::optional<RouteItem> withoutPoint = RouteItem::fromStored(storedAddress, 0);
    if (!withoutPoint)
        return std::nullopt;
    const QString place = withoutPoint->place();
    const QString label = QStringLiteral("KOORD_KART_MISTA_PIDPIS");
    const QString condition =
        withoutPoint->isBuilding() && match == BuildingMatch::LabelContains
            ? sql::containsCondition(label, place)
            : QStringLiteral("(") + label + QStringLiteral(" = ") + sql::text(place) + QLatin1Char(')');
    m_dani.TRANZ_RIZNE.commitIfActive();
    const FbRows& rows =
        m_dani.RIZNE.exec(QStringLiteral("SELECT KOORD_KART_MISTA_NP FROM KARTA_MISTA\nWHERE ") + condition +
                          QStringLiteral("\nORDER BY KOORD_KART_MISTA_NP"));
    const qint64 point = rows.isEmpty() ? 0 : rows.rows.back()[0].toLongLong();
    m_dani.TRANZ_RIZNE.commit();
    return RouteItem::fromStored(withoutPoint->stored(), point);
}
