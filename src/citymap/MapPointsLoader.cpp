#include "citymap/MapPointsLoader.h"

#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"

#include <algorithm>

namespace {
const QString kQualifies =
    QStringLiteral("(KOORD_KART_MISTA_PUKT_2<>0) or (KOORD_KART_MISTA_PIDPIS is not null)");

std::optional<MapPoints> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}
} // namespace

std::optional<MapPoints> MapPointsLoader::load(TDANI& dani, const Progress& progress, QString* error)
{
    MapPoints points;
    try {
        dani.TRANZ_RIZNE.commitIfActive();
        const FbRows& maxRows = dani.RIZNE.exec(
            QStringLiteral("SELECT  max(KOORD_KART_MISTA_NP)  FROM KARTA_MISTA WHERE ") + kQualifies);
        // No qualifying point: the table still has entry 0.
        const qint64 largest = maxRows.isEmpty() ? 0 : maxRows.rows[0][0].toLongLong();
        if (largest > kMaxMapPointNumber)
            return fail(error, QStringLiteral("Номер точки карти %1 завеликий").arg(largest));
        points.growTo(int(std::max<qint64>(largest, 0)) + 1);

        const FbRows& rows = dani.RIZNE.exec(QStringLiteral("SELECT  *  FROM KARTA_MISTA WHERE ") +
                                             kQualifies + QStringLiteral(" ORDER BY KOORD_KART_MISTA_NP"));
        const int total = rows.rowCount();
        for (int i = 0; i < total; ++i) {
            MapPoint point;
            point.x = rows.value(i, QStringLiteral("KOORD_KART_MISTA_X")).toInt();
            point.y = rows.value(i, QStringLiteral("KOORD_KART_MISTA_Y")).toInt();
            for (int s = 0; s < 5; ++s)
                point.streets[std::size_t(s)] =
                    rows.value(i, QStringLiteral("KOORD_KART_MISTA_PUKT_%1").arg(s + 1)).toInt();
            // A negative number has no entry; set() leaves it out.
            points.set(rows.value(i, QStringLiteral("KOORD_KART_MISTA_NP")).toInt(), point);
            if (progress)
                progress(i + 1, total);
        }
        dani.TRANZ_RIZNE.commitIfActive();
    } catch (const DbError& e) {
        dani.TRANZ_RIZNE.rollbackQuietly();
        return fail(error, e.message());
    }
    return points;
}
