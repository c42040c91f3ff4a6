#include "dispatch/BlackList.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Clock.h"

namespace BlackList {

const QString kAlreadyLifted =
    QStringLiteral("Цей запис чорного списку вже деактивовано з іншого робочого місця.");

namespace {

// The journal entry; the number is the largest so far plus 1. Two workstations writing
// at the same moment can compute the same number: the table's unique key refuses the
// second, whose transaction then writes nothing.
void journal(FbQuery& q, const DispatchContext& ctx, qint64 callsign, const QString& reason, int status)
{
    q.exec(QStringLiteral(
               "INSERT INTO BL_VODII (BL_VODIY_NOMER, BL_AVTO_POZIVN, BL_DATATIME, BL_AVTOR, BL_TEXT, "
               "BL_STATUS) VALUES (%1, %2, %3, %4, %5, %6)")
               .arg(sql::nextNumber(QStringLiteral("BL_VODIY_NOMER"), QStringLiteral("BL_VODII"), 1),
                    sql::integer(callsign),
                    sql::text(ctx.clock.now().toString(QStringLiteral("dd.MM.yyyy hh:mm"))),
                    sql::text(ctx.currentDispatcher), sql::text(reason.left(kReasonLength)),
                    sql::integer(status)));
}

void barOne(FbQuery& q, const DispatchContext& ctx, qint64 callsign, const QString& reason)
{
    const QString driver = sql::integer(callsign);
    q.exec(
        QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_ROZDACHA_ZAMOVL = null,     ZAMOVL_CHAS_PRIYOM_VODIY = "
                       "null,     ZAMOVL_POZIVNIY = null,     ZAMOVL_FIO_TAXI = null WHERE "
                       "(ZAMOVL_STATUS_ZAMOVL=0) and (ZAMOVL_POZIVNIY = %1)")
            .arg(driver));
    q.exec(QStringLiteral("DELETE FROM ZADIANI_AVTO WHERE (ZAD_AVTO_POZIVNIY = %1)").arg(driver));
    journal(q, ctx, callsign, reason, 1);
    q.exec(QStringLiteral(
               "UPDATE REFLESH_DANI_VODIY_GPRS SET REFLESH_VODIY_ZAMOV  = '+',     "
               "REFLESH_VODIY_DATETIME   = %1,     REFLESH_VODIY_NZ  = 0 WHERE REFLESH_VODIY_POZ = %2")
               .arg(sql::timestamp(ctx.clock.now()), driver));
}

// Runs the writes in the general-purpose transaction: committed together, or rolled
// back together and the failure passed on.
template <typename Writes> void inOneTransaction(DispatchContext& ctx, Writes writes)
{
    FbTransaction& transaction = ctx.dani.TRANZ_RIZNE;
    try {
        transaction.commitIfActive();
        writes(ctx.dani.RIZNE);
        transaction.commit();
    } catch (const DbError&) {
        transaction.rollbackQuietly();
        throw;
    }
}

} // namespace

bool CarExists(DispatchContext& ctx, qint64 callsign)
{
    return !ctx.dani.RIZNE
                .exec(QStringLiteral("SELECT TABL_AVTO_POZIVN FROM DANI_AVTO WHERE TABL_AVTO_POZIVN = %1")
                          .arg(sql::integer(callsign)))
                .isEmpty();
}

void Bar(DispatchContext& ctx, const QList<qint64>& callsigns, const QString& reason)
{
    inOneTransaction(ctx, [&](FbQuery& q) {
        for (qint64 callsign : callsigns)
            barOne(q, ctx, callsign, reason);
    });
}

QString LiftingReason(const QString& madeAt, const QString& reason)
{
    return (QStringLiteral("деактивація [від дати <") + madeAt + QStringLiteral(">]") +
            QStringLiteral(" причина деактивації >>> ") + reason)
        .left(kReasonLength);
}

void Lift(DispatchContext& ctx, const Entry& entry, const QString& reason)
{
    inOneTransaction(ctx, [&](FbQuery& q) {
        journal(q, ctx, entry.callsign, LiftingReason(entry.madeAt, reason), 0);
        // Another workstation may have lifted it meanwhile: journal one lifting only.
        q.exec(QStringLiteral(
                   "UPDATE BL_VODII SET BL_STATUS = 0 WHERE (BL_VODIY_NOMER = %1) AND (BL_STATUS = 1)")
                   .arg(sql::integer(entry.number)));
        if (q.affectedRows() == 0)
            throw DbError(kAlreadyLifted);
    });
}

} // namespace BlackList
