#include "foundation/StandQueue.h"

#include "foundation/SqlLiteral.h"
#include "foundation/fb/FbQuery.h"

std::optional<qint64> FirstFreeDriverAtStand(FbQuery& query, const QString& stand,
                                             const QString& extraCondition)
{
    // Queue keys are four-digit texts, so their text order is the queue order.
    const FbRows& rows = query.exec(QStringLiteral("SELECT FIRST 1 ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO "
                                                   "WHERE (ZAD_AVTO_VULICA = %1) AND ((ZAD_AVTO_NOMER_ZAMOVL "
                                                   "= 0) OR (ZAD_AVTO_NOMER_ZAMOVL IS NULL)) %2"
                                                   "ORDER BY ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_POZIVNIY")
                                        .arg(sql::text(stand), extraCondition));
    if (rows.isEmpty() || !rows.rows[0][0].isValid())
        return std::nullopt;
    return rows.rows[0][0].toLongLong();
}

std::vector<QueuedDriver> FreeDriversAtStand(FbQuery& query, const QString& stand)
{
    const FbRows& rows = query.exec(
        QStringLiteral("Select ZAD_AVTO_POZIVNIY, ZAD_AVTO_YUVILEYKA, ZAD_AVTO_MARKA_AVTO  from ZADIANI_AVTO "
                       "WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR (ZAD_AVTO_NOMER_ZAMOVL = 0)) AND "
                       "(ZAD_AVTO_VULICA = %1) "
                       "order by ZAD_AVTO_CHAS_ZAMOVL")
            .arg(sql::text(stand)));
    std::vector<QueuedDriver> queue;
    for (const auto& row : rows.rows)
        queue.push_back({row[0].toLongLong(), row[1], row[2].toString()});
    return queue;
}

std::map<QString, std::vector<QueuedDriver>> FreeDriversByStand(FbQuery& query)
{
    // Ties of the queue key go by callsign, as for the head of the queue above.
    const FbRows& rows = query.exec(QStringLiteral(
        "Select ZAD_AVTO_VULICA, ZAD_AVTO_POZIVNIY, ZAD_AVTO_YUVILEYKA, ZAD_AVTO_MARKA_AVTO "
        "from ZADIANI_AVTO WHERE ((ZAD_AVTO_NOMER_ZAMOVL IS NULL) OR (ZAD_AVTO_NOMER_ZAMOVL = 0)) "
        "order by ZAD_AVTO_VULICA, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_POZIVNIY"));
    std::map<QString, std::vector<QueuedDriver>> queues;
    for (const auto& row : rows.rows)
        queues[row[0].toString()].push_back({row[1].toLongLong(), row[2], row[3].toString()});
    return queues;
}
