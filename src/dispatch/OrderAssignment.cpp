#include "dispatch/OrderAssignment.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Clock.h"

namespace {

// The driver's new place: the destination cut after its first "}" ([street]{house}),
// the zero stand when the order has no destination.
QString placeOf(const QString& destination)
{
    if (destination.isEmpty())
        return QStringLiteral("[]{}");
    const qsizetype brace = destination.indexOf(QLatin1Char('}'));
    return brace < 0 ? destination : destination.left(brace + 1);
}

QString timeLiteralOrNull(const QVariant& value)
{
    return value.isValid() ? sql::timeHms(value.toTime()) : QStringLiteral("NULL");
}

} // namespace

bool AssignOrderToDriver(DispatchContext& ctx, qint64 callsign, qint64 orderNumber)
{
    if (callsign == 0 || orderNumber == 0)
        return false;
    TDANI& dani = ctx.dani;
    FbQuery& q = dani.RIZNE;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const QString number = sql::integer(orderNumber);
        const QString driver = sql::integer(callsign);
        const FbRows order =
            q.exec(QStringLiteral("select * from ZAMOVLENNIA WHERE (ZAMOVL_NUMBER = %1)").arg(number));
        if (order.rowCount() != 1 || order.value(0, QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong() != 0 ||
            order.value(0, QStringLiteral("ZAMOVL_STATUS_ZAMOVL")).toLongLong() != 0 ||
            !order.value(0, QStringLiteral("ZAMOVL_STATUS_ZAMOVL")).isValid()) {
            dani.TRANZ_RIZNE.commitIfActive();
            return false;
        }
        const QString destination = order.value(0, QStringLiteral("ZAMOVL_PUNKT_PRIZHACH")).toString();
        const QVariant orderTime = order.value(0, QStringLiteral("ZAMOVL_CHAS_PRIYOMA"));
        const QVariant plannedEnd = order.value(0, QStringLiteral("ZAMOVL_CHAS_ZAKR_ZAMOVL"));

        const FbRows rows =
            q.exec(QStringLiteral("select * from ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1)").arg(driver));
        if (rows.isEmpty() ||
            rows.value(rows.rowCount() - 1, QStringLiteral("ZAD_AVTO_NOMER_ZAMOVL")).toLongLong() != 0) {
            dani.TRANZ_RIZNE.commitIfActive();
            return false;
        }
        const QString name = rows.value(rows.rowCount() - 1, QStringLiteral("ZAD_AVTO_FIO_VODIY")).toString();
        const QString place = rows.value(rows.rowCount() - 1, QStringLiteral("ZAD_AVTO_VULICA")).toString();
        const QDateTime now = ctx.clock.now();

        // Each write is guarded by what was just checked; another workstation that got
        // there first leaves nothing to change, and everything is undone.
        q.exec(QStringLiteral(
                   "UPDATE ZAMOVLENNIA SET ZAMOVL_ROZDACHA_ZAMOVL = %1,     ZAMOVL_POZIVNIY = %2,     "
                   "ZAMOVL_CHAS_PRIYOM_VODIY = %3,     ZAMOVL_FIO_TAXI = %4 WHERE ZAMOVL_NUMBER = %5 "
                   "AND (ZAMOVL_STATUS_ZAMOVL = 0) AND ((ZAMOVL_POZIVNIY IS NULL) OR (ZAMOVL_POZIVNIY = 0))")
                   .arg(sql::text(ctx.currentDispatcher), driver, sql::timeHm(now.time()), sql::text(name),
                        number));
        if (q.affectedRows() != 1)
            throw DbError(QStringLiteral("order changed meanwhile"));
        q.exec(QStringLiteral(
                   "DELETE FROM ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1) AND (ZAD_AVTO_VULICA <> %2)")
                   .arg(driver, sql::text(place)));
        q.exec(
            QStringLiteral(
                "UPDATE ZADIANI_AVTO SET ZAD_AVTO_ZADIANIST = 1,     ZAD_AVTO_CHAS_ZAMOVL = %1,     "
                "ZAD_AVTO_CHAS_PRIBUTTIA = %2,     ZAD_AVTO_VULICA = %3,     ZAD_AVTO_NOMER_ZAMOVL = %4 "
                "WHERE ZAD_AVTO_POZIVNIY = %5 AND ((ZAD_AVTO_NOMER_ZAMOVL = 0) OR (ZAD_AVTO_NOMER_ZAMOVL IS "
                "NULL))")
                .arg(sql::text(orderTime.isValid() ? orderTime.toTime().toString(QStringLiteral("hh:mm:ss"))
                                                   : QString()),
                     timeLiteralOrNull(plannedEnd), sql::text(placeOf(destination)), number, driver));
        if (q.affectedRows() == 0)
            throw DbError(QStringLiteral("driver changed meanwhile"));
        q.exec(QStringLiteral("UPDATE REFLESH_DANI_VODIY_GPRS SET REFLESH_VODIY_ZAMOV  = '+',     "
                              "REFLESH_VODIY_DATETIME   = %1, "
                              "    REFLESH_VODIY_NZ  = %2 WHERE REFLESH_VODIY_POZ = %3")
                   .arg(sql::timestamp(now), number, driver));
        dani.TRANZ_RIZNE.commit();
        return true;
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        return false;
    }
}
