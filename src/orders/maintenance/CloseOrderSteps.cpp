#include "orders/maintenance/CloseOrderSteps.h"

#include "dispatch/QueueKey.h"
#include "foundation/SqlLiteral.h"
#include "foundation/fb/FbQuery.h"
#include "orders/maintenance/MaintenanceTransaction.h"

namespace {

QStringList firstColumn(const FbRows& rows)
{
    QStringList values;
    for (const auto& row : rows.rows)
        values << row[0].toString();
    return values;
}

} // namespace

// Anything that is not a positive number switches the earning off too: it would
// otherwise be pasted into the statement.
qint64 RidesPerFreeRide(const QString& setting)
{
    bool ok = false;
    const qint64 n = setting.trimmed().toLongLong(&ok);
    return ok && n > 0 ? n : 0;
}

bool CloseOrderSteps(FbQuery& q, const StoredOrder& order, const QString& ridesPerFreeRide,
                     const QDateTime& now, const QString& changedMessage)
{
    const QString n = sql::integer(order.number);
    const QString callsign = sql::integer(order.callsign);

    // The driver stays at the order's destination, last in its queue.
    const QString key = NextQueueKey(firstColumn(q.exec(
        QStringLiteral("SELECT ZAD_AVTO_CHAS_ZAMOVL FROM ZADIANI_AVTO WHERE (ZAD_AVTO_VULICA = (SELECT "
                       "ZAD_AVTO_VULICA FROM  ZADIANI_AVTO  WHERE ZAD_AVTO_NOMER_ZAMOVL = %1)) AND "
                       "(ZAD_AVTO_ZADIANIST = 0)")
            .arg(n))));
    q.exec(
        QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_ZADIANIST = 0,     ZAD_AVTO_CHAS_ZAMOVL = %1,     "
                       "ZAD_AVTO_CHAS_PRIBUTTIA = NULL,     ZAD_AVTO_NOMER_ZAMOVL = 0 WHERE "
                       "ZAD_AVTO_NOMER_ZAMOVL = %2")
            .arg(sql::text(key), n));

    // Guarded by what was read: an order another workstation closed, deleted or gave
    // another driver is not closed a second time.
    q.exec(
        QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_DATA_ZAKR_ZAMOVL = %1,     ZAMOVL_CHAS_ZAKR_ZAMOVL = "
                       "%2,     ZAMOVL_STATUS_ZAMOVL = 1 WHERE ZAMOVL_NUMBER = %3 AND "
                       "(ZAMOVL_STATUS_ZAMOVL = 0) AND (ZAMOVL_POZIVNIY = %4)")
            .arg(sql::date(now.date()), sql::timeHm(now.time()), n, callsign));
    ExpectChangedExactlyOne(q, changedMessage);

    bool freeRideClosed = false;
    if (order.clientCode != 0) {
        const QString client = sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), order.clientCode);
        if (order.freeRide == QLatin1String("TAK")) {
            q.exec(QStringLiteral(
                       "UPDATE KLIENT SET KLIENT_KIL_FREE_VIKLIK = KLIENT_KIL_FREE_VIKLIK - 1 WHERE %1")
                       .arg(client));
            freeRideClosed = true;
        } else {
            q.exec(QStringLiteral("UPDATE KLIENT SET KLIENT_KIL_VIKLIK = KLIENT_KIL_VIKLIK + 1 WHERE %1")
                       .arg(client));
            // Every N-th paid ride earns one free ride.
            if (const qint64 every = RidesPerFreeRide(ridesPerFreeRide))
                q.exec(QStringLiteral("UPDATE KLIENT SET KLIENT_KIL_VIKLIK = 0,     KLIENT_KIL_FREE_VIKLIK = "
                                      "KLIENT_KIL_FREE_VIKLIK + 1 WHERE %1  and (KLIENT_KIL_VIKLIK >= %2)")
                           .arg(client, sql::integer(every)));
        }
    }

    q.exec(QStringLiteral("UPDATE DANI_AVTO SET  TABL_AVTO_KILVIKLIK = TABL_AVTO_KILVIKLIK + 1 WHERE "
                          "(TABL_AVTO_POZIVN = %1) AND (TABL_AVTO_NOM_VODIY = (SELECT TABL_VODIY_NOMER  FROM "
                          "VODII WHERE TABL_VODIY_FIO = %2))")
               .arg(callsign, sql::text(order.driverName)));
    return freeRideClosed;
}
