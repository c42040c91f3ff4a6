#include "RoomDatabase.h"

#include "foundation/SqlLiteral.h"
#include "support/TestDatabase.h"

#include <QMap>
#include <algorithm>

namespace RoomDatabase {

void fill(TestDatabase& db, int drivers)
{
    db.exec(QStringLiteral(
                "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN "
                "WHILE (I <= %1) DO BEGIN "
                "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_RAYON, "
                "ZAD_AVTO_MARKA_AVTO, ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_VULICA, ZAD_AVTO_ZADIANIST, "
                "ZAD_AVTO_NOMER_ZAMOVL) VALUES (:I, 'Водій ' || :I, '[8:00:00](){}', "
                "IIF(MOD(:I, 2) = 0, '{GPRS}Ланос', 'Ланос'), LPAD(:I, 4, '0'), 'Стоянка ' || MOD(:I, 200), 0, 0); "
                "INSERT INTO REFLESH_DANI_VODIY_GPRS (REFLESH_VODIY_POZ, REFLESH_VODIY_ZAMOV, REFLESH_VODIY_NZ) "
                "VALUES (:I, '-', 0); "
                "I = I + 1; END "
                "I = 0; WHILE (I < 300) DO BEGIN "
                "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_PRICHINA_DELETE, "
                "ZAMOVL_POCHAT_PUNKT, ZAMOVL_PUNKT_PRIZHACH, ZAMOVL_SUMA_ROZRAHUNK, ZAMOVL_PRIYOM_ZAMOVL, "
                "ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA, ZAMOVL_POZIVNIY, ZAMOVL_BEZKOSHTOVN, "
                "ZAMOVL_STATUS_ZAMOVL) VALUES (GEN_ID(GENIDZAMOVL, 1), 0, "
                "'{попереднє}   тел.:[0501234567]', '[Шевченка]{' || :I || '}', '[Лесі Українки]{3}', 85.5, "
                "'Ковальчук Олена', CURRENT_DATE + 1, '08:00', 0, 'HI', 0); I = I + 1; END "
                "END")
                .arg(sql::integer(drivers)));
}

Check check(TestDatabase& db, const std::vector<RoomLog>& logs, const QHash<qint64, qint64>& tripEnded)
{
    Check c;
    auto note = [&c](const QString& finding) {
        if (c.findings.size() < 8)
            c.findings << finding;
    };

    // Every order as it stands now.
    struct Order
    {
        qint64 driver = 0;
        int status = 0;
    };
    QHash<qint64, Order> orders;
    for (const auto& row :
         db.exec(QStringLiteral("SELECT ZAMOVL_NUMBER, ZAMOVL_POZIVNIY, ZAMOVL_STATUS_ZAMOVL FROM ZAMOVLENNIA"))
             .rows)
        orders.insert(row[0].toLongLong(), {row[1].toLongLong(), int(row[2].toLongLong())});

    QHash<qint64, int> recordedBy;
    for (const RoomLog& log : logs)
        for (const RoomLog::Commit& r : log.recorded) {
            ++c.recorded;
            recordedBy[r.order] += 1;
            if (r.order == 0 || !orders.contains(r.order)) {
                ++c.recordedMissing;
                note(QStringLiteral("workstation %1 recorded an order the database does not hold").arg(log.workstation));
            }
        }

    // Each order handed out once, to the driver the workstation was told.
    QHash<qint64, int> handOutsOf;
    QMap<qint64, std::vector<std::pair<qint64, qint64>>> byDriver; // callsign -> (at, order)
    for (const RoomLog& log : logs)
        for (const RoomLog::HandOut& h : log.handedOut) {
            ++c.handOuts;
            if (++handOutsOf[h.order] == 2) {
                ++c.doubled;
                note(QStringLiteral("order %1 handed out by two workstations").arg(h.order));
            }
            const auto order = orders.constFind(h.order);
            if (order == orders.cend() || order->driver != h.callsign) {
                ++c.lost;
                note(QStringLiteral("order %1: workstation %2 gave it to %3, the database says %4")
                         .arg(h.order)
                         .arg(log.workstation)
                         .arg(h.callsign)
                         .arg(order == orders.cend() ? QStringLiteral("no such order")
                                                     : QString::number(order->driver)));
            }
            byDriver[h.callsign].emplace_back(h.atNs, h.order);
        }
    for (auto it = orders.cbegin(); it != orders.cend(); ++it) {
        if (!recordedBy.contains(it.key()))
            continue;
        if (it->driver == 0 && it->status == 0)
            ++c.unhandedDue;
        if (it->driver != 0 && !handOutsOf.contains(it.key())) {
            ++c.lost;
            note(QStringLiteral("order %1 has driver %2, but no workstation handed it out")
                     .arg(it.key())
                     .arg(it->driver));
        }
    }

    // No driver with two orders at once: each of his orders after the first was handed
    // to him only after the trip before it ended, ...
    for (auto it = byDriver.begin(); it != byDriver.end(); ++it) {
        std::sort(it->begin(), it->end());
        for (std::size_t i = 1; i < it->size(); ++i) {
            const qint64 previous = (*it)[i - 1].second;
            const qint64 ended = tripEnded.value(previous, 0);
            if (ended == 0 || ended > (*it)[i].first) {
                ++c.driverTwice;
                note(QStringLiteral("driver %1 got order %2 while order %3 was his").arg(it.key()).arg((*it)[i].second).arg(previous));
            }
        }
    }
    // ... and now: at most one open order per driver, matching his row on air.
    const FbRows open = db.exec(QStringLiteral(
        "SELECT ZAMOVL_POZIVNIY, COUNT(*) FROM ZAMOVLENNIA WHERE (ZAMOVL_STATUS_ZAMOVL = 0) AND "
        "(ZAMOVL_POZIVNIY <> 0) GROUP BY ZAMOVL_POZIVNIY HAVING COUNT(*) > 1"));
    for (const auto& row : open.rows) {
        ++c.driverTwice;
        note(QStringLiteral("driver %1 holds %2 open orders").arg(row[0].toLongLong()).arg(row[1].toLongLong()));
    }
    const FbRows mismatched = db.exec(QStringLiteral(
        "SELECT A.ZAD_AVTO_POZIVNIY, A.ZAD_AVTO_NOMER_ZAMOVL FROM ZADIANI_AVTO A WHERE (A.ZAD_AVTO_NOMER_ZAMOVL <> 0) "
        "AND NOT EXISTS (SELECT 1 FROM ZAMOVLENNIA Z WHERE (Z.ZAMOVL_NUMBER = A.ZAD_AVTO_NOMER_ZAMOVL) AND "
        "(Z.ZAMOVL_POZIVNIY = A.ZAD_AVTO_POZIVNIY) AND (Z.ZAMOVL_STATUS_ZAMOVL = 0))"));
    for (const auto& row : mismatched.rows) {
        ++c.lost;
        note(QStringLiteral("driver %1 is on order %2, which is not his").arg(row[0].toLongLong()).arg(row[1].toLongLong()));
    }
    const FbRows twiceOnAir = db.exec(QStringLiteral(
        "SELECT ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO GROUP BY ZAD_AVTO_POZIVNIY HAVING COUNT(*) > 1"));
    for (const auto& row : twiceOnAir.rows) {
        ++c.driverTwice;
        note(QStringLiteral("driver %1 is on air twice").arg(row[0].toLongLong()));
    }
    return c;
}

} // namespace RoomDatabase
