#include "dispatch/OrderCounters.h"

#include "dispatch/DispatchContext.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "platform/Clock.h"

QDateTime HotLimit(const DispatchContext& ctx)
{
    return HotLimitAt(ctx.clock.now(), ctx.settings.value(SettingKeys::kPreliminaryLead));
}

QDateTime HotLimitAt(const QDateTime& now, const QString& leadMinutes)
{
    return now.addSecs(60 * typedInteger(leadMinutes));
}

OrderCounts CountOrders(DispatchContext& ctx, const QDateTime& limit)
{
    TDANI& dani = ctx.dani;
    const QString d = sql::date(limit.date());
    const QString t = sql::timeHm(limit.time());
    const QString unassigned =
        QStringLiteral("SELECT COUNT(ZAMOVL_NUMBER)   FROM ZAMOVLENNIA WHERE (ZAMOVL_STATUS_ZAMOVL = 0) "
                       "AND ((ZAMOVL_POZIVNIY = 0) or (ZAMOVL_POZIVNIY IS NULL))");
    auto count = [&](const QString& statement) {
        const FbRows& rows = dani.RIZNE_EVENTS.exec(statement);
        return rows.isEmpty() ? 0 : rows.rows[0][0].toInt();
    };
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    OrderCounts counts;
    counts.inExecution = count(QStringLiteral("SELECT COUNT(ZAMOVL_NUMBER) FROM ZAMOVLENNIA WHERE "
                                              "(ZAMOVL_STATUS_ZAMOVL = 0) AND (ZAMOVL_POZIVNIY > 0)"));
    counts.hot =
        count(unassigned + QStringLiteral(" AND ((ZAMOVL_DATA_PRIYOMA < %1) or ((ZAMOVL_DATA_PRIYOMA = %1) "
                                          "and (ZAMOVL_CHAS_PRIYOMA < %2)))")
                               .arg(d, t));
    counts.preliminary =
        count(unassigned + QStringLiteral(" AND ((ZAMOVL_DATA_PRIYOMA > %1) or ((ZAMOVL_DATA_PRIYOMA = %1) "
                                          "and (ZAMOVL_CHAS_PRIYOMA > %2)))")
                               .arg(d, t));
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    return counts;
}

void ShowOrderCounters(DispatchContext& ctx, const OrderCounts& counts)
{
    ctx.dani.view().showOrderCounters(counts.inExecution, counts.hot, counts.preliminary);
}

void RefreshOrderCounters(DispatchContext& ctx)
{
    ShowOrderCounters(ctx, CountOrders(ctx, HotLimit(ctx)));
}
