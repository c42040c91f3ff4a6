#include "dispatch/HotOrders.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/OrderCounters.h"
#include "foundation/DisplayText.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "platform/Clock.h"

QList<HotOrdersView::HotOrderLine> ListHotOrders(DispatchContext& ctx)
{
    TDANI& dani = ctx.dani;
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const FbRows& rows = dani.RIZNE_EVENTS.exec(QStringLiteral(
        "SELECT * from ZAMOVLENNIA WHERE (ZAMOVL_STATUS_ZAMOVL = 0) and ((ZAMOVL_POZIVNIY = 0) or "
        "(ZAMOVL_POZIVNIY is null)) ORDER BY ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA"));
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const QDateTime now = ctx.clock.now();
    const QDateTime limit = HotLimit(ctx);
    const qint64 delayMinutes =
        typedInteger(ctx.settings.value(SettingKeys::kHotOrderDelay, QStringLiteral("5")));
    const int selected = dani.hotOrdersView().selectedHotLine();

    QList<HotOrdersView::HotOrderLine> lines;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QDate date = rows.value(r, QStringLiteral("ZAMOVL_DATA_PRIYOMA")).toDate();
        const QVariant time = rows.value(r, QStringLiteral("ZAMOVL_CHAS_PRIYOMA"));
        const QDateTime due(date, time.isValid() ? time.toTime() : QTime(0, 0));
        if (!date.isValid() || due > limit)
            continue;
        const bool overdue = now > due.addSecs(60 * delayMinutes);
        const QString text = displayText(rows.value(r, QStringLiteral("ZAMOVL_NUMBER"))) +
                             (overdue ? QStringLiteral("  -> !!! {") : QStringLiteral("  -> {")) +
                             displayText(rows.value(r, QStringLiteral("ZAMOVL_BEZKOSHTOVN"))) +
                             QStringLiteral("} ") +
                             displayText(rows.value(r, QStringLiteral("ZAMOVL_POCHAT_PUNKT")));
        lines << HotOrdersView::HotOrderLine{text, overdue ? 0xFF0000u : 0xFFFFFFu};
    }
    const int select = selected > 0 && selected < lines.size() ? selected : -1;
    dani.hotOrdersView().showHotOrders(lines, select);
    return lines;
}
