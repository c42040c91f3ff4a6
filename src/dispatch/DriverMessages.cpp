#include "dispatch/DriverMessages.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Clock.h"

bool SendMessageToDriver(DispatchContext& ctx, qint64 callsign, const QString& name, const QString& text)
{
    if (callsign == 0 || name.isEmpty() || text.isEmpty())
        return false;
    TDANI& dani = ctx.dani;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        // Cut first, then quote: the doubled quotes must not push text past the limit.
        dani.RIZNE.exec(
            QStringLiteral("INSERT INTO MSG_FOR_VODIY (MSG_FOR_VODIY_NP, MSG_FOR_VODIY_DCREATE, "
                           "MSG_FOR_VODIY_STATUS, MSG_FOR_VODIY_POZ, MSG_FOR_VODIY_FIO, MSG_FOR_VODIY_TEXT, "
                           "MSG_FOR_VODIY_AVTOR) VALUES (%1 ,   %2,   'D',   %3,   %4,   %5,   %6)")
                .arg(sql::nextNumber(QStringLiteral("MSG_FOR_VODIY_NP"), QStringLiteral("MSG_FOR_VODIY"), 0),
                     sql::timestamp(ctx.clock.now()), sql::integer(callsign), sql::text(name),
                     sql::text(text.left(500)), sql::text(ctx.currentDispatcher)));
        dani.TRANZ_RIZNE.commit();
        return true;
    } catch (const DbError&) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        return false;
    }
}
