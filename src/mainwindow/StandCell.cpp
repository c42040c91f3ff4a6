#include "mainwindow/StandCell.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/NearestStand.h"
#include "foundation/StandQueue.h"
#include "foundation/TDANI.h"

#include <cmath>

QString StandCellText(DispatchContext& ctx, const QString& stand, const StandCellOptions& options)
{
    TDANI& dani = ctx.dani;
    QString text = stand + QStringLiteral("  ");
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const std::vector<QueuedDriver> queue = FreeDriversAtStand(dani.RIZNE_EVENTS, stand);
    for (std::size_t i = 0; i < queue.size(); ++i) {
        QString flags;
        if (options.gprsFlag && queue[i].model.contains(QLatin1String("{GPRS}")))
            flags += QLatin1Char('G');
        if (options.jubileeFlag && queue[i].jubileeMark.isValid())
            flags += QLatin1Char('+');
        if (!flags.isEmpty())
            flags.prepend(QLatin1Char(' '));
        const QString driver = QString::number(queue[i].callsign) + flags;
        text += i == 0 ? QStringLiteral("<[") + driver + QStringLiteral("]>")
                       : QStringLiteral(" [") + driver + QLatin1Char(']');
    }
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    if (stand == QLatin1String("[]{}") || options.startPoint.isEmpty())
        return text;
    QString from = options.startPoint;
    if (from.contains(QLatin1String("]{")))
        from = from.left(from.indexOf(QLatin1Char('}')) + 1);
    const auto metres = MapDistanceMetres(ctx, from, stand);
    if (metres && std::trunc(*metres) != 0)
        text.prepend(QString::number(qint64(std::trunc(*metres))) + QStringLiteral(" м.  "));
    return text;
}
