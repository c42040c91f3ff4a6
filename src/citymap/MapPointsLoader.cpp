#include "citymap/MapPointsLoader.h"

#include "foundation/SqlLiteral.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

std::optional<MapPoints> MapPointsLoader::load(FbQuery& query, qint64 from, const Progress& progress,
                                               QString* error)
{
    FbTransaction& transaction = query.transaction();
    MapPoints points;
    points.growTo(from);
    try {
        transaction.commitIfActive();
        const FbRows rows = [&] {
            query.exec(
                QStringLiteral("SELECT KOORD_KART_MISTA_NP, KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, "
                               "KOORD_KART_MISTA_PUKT_1, KOORD_KART_MISTA_PUKT_2, KOORD_KART_MISTA_PUKT_3, "
                               "KOORD_KART_MISTA_PUKT_4, KOORD_KART_MISTA_PUKT_5 FROM KARTA_MISTA "
                               "WHERE (KOORD_KART_MISTA_NP >= %1) AND ((KOORD_KART_MISTA_PUKT_2<>0) or "
                               "(KOORD_KART_MISTA_PIDPIS is not null)) ORDER BY KOORD_KART_MISTA_NP")
                    .arg(sql::integer(from)));
            return query.takeResult();
        }();
        transaction.commitIfActive();
        const int total = rows.rowCount();
        for (int i = 0; i < total; ++i) {
            const auto& row = rows.rows[std::size_t(i)];
            MapPoint point;
            point.x = row[1].toInt();
            point.y = row[2].toInt();
            for (std::size_t s = 0; s < point.streets.size(); ++s)
                point.streets[s] = row[s + 3].toInt();
            points.set(row[0].toInt(), point);
            if (progress)
                progress(i + 1, total);
        }
    } catch (const DbError& e) {
        transaction.rollbackQuietly();
        if (error)
            *error = e.message();
        return std::nullopt;
    }
    return points;
}
