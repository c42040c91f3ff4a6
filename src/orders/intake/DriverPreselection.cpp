#include "orders/intake/DriverPreselection.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/NearestStand.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "orders/intake/RouteItem.h"
#include "orders/intake/TripTiming.h"

const QString DriverPreselection::kNoDriverMessage =
    QStringLiteral("Немає можливості попередньо підібрати водія на замовлення. Можлива причина :\r"
                   "1. немає вільних водіїв на стоянці\r2. адрес замовлення не в місті\r3. невірний адрес "
                   "замовлення і т.д.");

std::optional<DriverPreselection::Candidate> DriverPreselection::find(const QString& address)
{
    const QString stand = FindNearestStand(m_ctx, address, DistributionMode::kNone);
    if (stand.isEmpty())
        return std::nullopt;
    TDANI& dani = m_ctx.dani;
    dani.TRANZ_RIZNE.commitIfActive();
    // Ordered by the queue key, so the first row is the driver who has waited longest.
    const FbRows& rows = dani.RIZNE.exec(
        QStringLiteral("SELECT MIN(ZAD_AVTO_CHAS_ZAMOVL), ZAD_AVTO_POZIVNIY from ZADIANI_AVTO\n"
                       "WHERE (ZAD_AVTO_VULICA = ") +
        sql::text(stand) +
        QStringLiteral(") AND (ZAD_AVTO_NOMER_ZAMOVL = 0)\nGROUP BY ZAD_AVTO_POZIVNIY\nORDER BY 1"));
    const std::optional<qint64> callsign =
        rows.isEmpty() ? std::nullopt : std::optional<qint64>(rows.rows[0][1].toLongLong());
    dani.TRANZ_RIZNE.commit();
    if (!callsign)
        return std::nullopt;

    Candidate found;
    found.callsign = *callsign;
    found.stand = stand;
    found.text = QStringLiteral("Найближчий позивний [") + QString::number(*callsign) +
                 QStringLiteral("] до замовлення, який знаходиться на стоянці : ") + stand;
    // The map knows the house, not the flat.
    const QString metres = MapDistance(m_ctx, stand, RouteItem::placeOf(address));
    if (const auto minutes =
            TripTiming::arrivalMinutes(metres, m_ctx.settings.value(SettingKeys::kAverageSpeed)))
        found.text +=
            QStringLiteral("\rПриблизний час доїзду до замовлення, хв ~ ") + QString::number(*minutes);
    return found;
}
