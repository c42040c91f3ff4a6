#include "mainwindow/StandCell.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/NearestStand.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"

#include <cmath>

QString StandCellText(DispatchContext& ctx, const QString& stand, const StandCellOptions& options)
{
    TDANI& dani = ctx.dani;
    QString text = stand + QStringLiteral("  ");
    dani.TRANZ_FOR_EVENTS.commitIfActive();
    const FbRows& rows = dani.RIZNE_EVENTS.exec(
        QStringLiteral("Select ZAD_AVTO_POZIVNIY, ZAD_AVTO_YUVILEYKA, ZAD_AVTO_MARKA_AVTO  from ZADIANI_AVTO "
                       "WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR (ZAD_AVTO_NOMER_ZAMOVL = 0)) AND (ZAD_AVTO_VULICA = %1) "
                       "order by ZAD_AVTO_CHAS_ZAMOVL")
            .arg(sql::text(stand)));
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        const auto& row = rows.rows[i];
        QString flags;
        if (options.gprsFlag && row[2].toString().contains(QLatin1String("{GPRS}")))
            flags += QLatin1Char('G');
        if (options.jubileeFlag && row[1].isValid())
            flags += QLatin1Char('+');
        if (!flags.isEmpty())
            flags.prepend(QLatin1Char(' '));
        const QString driver = row[0].toString() + flags;
        text += i == 0 ? QStringLiteral("<[") + driver + QStringLiteral("]>") : QStringLiteral(" [") + driver + QLatin1Char(']');
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
