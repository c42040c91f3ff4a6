#include "mainwindow/StandCell.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/NearestStand.h"
#include "foundation/TDANI.h"

#include <cmath>

namespace {

const QString kZeroStand = QStringLiteral("[]{}");

} // namespace

StandCells::StandCells(DispatchContext& ctx, const StandCellOptions& options) : m_options(options)
{
    TDANI& dani = ctx.dani;
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    m_queues = FreeDriversByStand(dani.RIZNE_EVENTS);
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    if (!options.startPoint.isEmpty())
        m_distances = DistancesToStands(ctx, HouseOfAddress(options.startPoint));
}

QString StandCells::text(const QString& stand) const
{
    QString text = stand + QStringLiteral("  ");
    const auto queue = m_queues.find(stand);
    if (queue != m_queues.end()) {
        const std::vector<QueuedDriver>& drivers = queue->second;
        for (std::size_t i = 0; i < drivers.size(); ++i) {
            QString flags;
            if (m_options.gprsFlag && drivers[i].model.contains(QLatin1String("{GPRS}")))
                flags += QLatin1Char('G');
            if (m_options.jubileeFlag && drivers[i].jubileeMark.isValid())
                flags += QLatin1Char('+');
            if (!flags.isEmpty())
                flags.prepend(QLatin1Char(' '));
            const QString driver = QString::number(drivers[i].callsign) + flags;
            text += i == 0 ? QStringLiteral("<[") + driver + QStringLiteral("]>")
                           : QStringLiteral(" [") + driver + QLatin1Char(']');
        }
    }
    if (stand == kZeroStand)
        return text;
    const auto distance = m_distances.constFind(stand);
    if (distance != m_distances.constEnd() && std::trunc(*distance) != 0)
        text.prepend(QString::number(qint64(std::trunc(*distance))) + QStringLiteral(" м.  "));
    return text;
}

QString StandCellText(DispatchContext& ctx, const QString& stand, const StandCellOptions& options)
{
    return StandCells(ctx, options).text(stand);
}
