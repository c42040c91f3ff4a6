#include "DriverSide.h"

#include "foundation/SqlLiteral.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <QDateTime>
#include <thread>

DriverSide::DriverSide(const ConnectionParameters& database, const RoomSchedule& schedule, int drivers,
                       double changesPerSecond, double tripSimulatedSeconds)
    : m_database(database), m_schedule(schedule), m_drivers(drivers), m_changesPerSecond(changesPerSecond),
      m_tripSimulatedSeconds(tripSimulatedSeconds)
{
}

void DriverSide::run()
{
    try {
        m_connection.connect(m_database);
        {
            FbTransaction read(m_connection, QStringLiteral("DRIVERS"));
            FbQuery query(read);
            const FbRows& rows =
                query.exec(QStringLiteral("SELECT MAX(DYA_VODIY_GPRS_NP) FROM DYA_VODIY_GPRS"));
            m_nextAction = rows.isEmpty() ? 1 : rows.rows[0][0].toLongLong() + 1;
            read.commit();
        }
        while (RoomNowNs() < m_schedule.startNs)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        qint64 done = 0;
        qint64 lastTripCheck = 0;
        while (RoomNowNs() < m_schedule.endNs()) {
            const qint64 now = RoomNowNs();
            const qint64 due = qint64(double(now - m_schedule.startNs) / 1e9 * m_changesPerSecond);
            while (done < due && RoomNowNs() < m_schedule.endNs())
                change(done++);
            if (now - lastTripCheck > 250000000) {
                lastTripCheck = now;
                endTrips();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        m_figures.achievedPerSecond = double(m_figures.changes + m_figures.refused) / m_schedule.realSeconds;
    } catch (const DbError& e) {
        m_figures.failure = e.message();
    }
    m_connection.disconnect();
}

template <typename Write> void DriverSide::timed(Write write, qint64& refusedCounter)
{
    FbTransaction transaction(m_connection, QStringLiteral("DRIVER"));
    FbQuery query(transaction);
    const qint64 began = RoomNowNs();
    try {
        if (write(query))
            transaction.commit();
        else {
            transaction.rollback();
            ++refusedCounter;
        }
    } catch (const DbError& e) {
        transaction.rollbackQuietly();
        if (!e.lockConflict())
            throw;
        ++refusedCounter;
        m_figures.longestRefusedNs = std::max(m_figures.longestRefusedNs, RoomNowNs() - began);
    }
    const qint64 took = RoomNowNs() - began;
    m_figures.longestWriteNs = std::max(m_figures.longestWriteNs, took);
    ++m_figures.writes;
    m_figures.writeNs += took;
}

void DriverSide::change(qint64 index)
{
    std::uniform_int_distribution<int> driver(1, m_drivers);
    std::uniform_int_distribution<int> stand(0, 199);
    const QString callsign = sql::integer(driver(m_random));
    const qint64 before = m_figures.refused;
    if (index % 2 == 0) {
        // A GPRS action: the driver pressed a key on his terminal.
        timed(
            [&](FbQuery& q) {
                q.exec(QStringLiteral("INSERT INTO DYA_VODIY_GPRS (DYA_VODIY_GPRS_NP, DYA_VODIY_GPRS_DATATIME, "
                                      "DYA_VODIY_GPRS_DYA, DYA_VODIY_GPRS_NZ, DYA_VODIY_GPRS_POZ) VALUES "
                                      "(%1, %2, %3, 0, %4)")
                           .arg(sql::integer(m_nextAction++), sql::timestamp(QDateTime::currentDateTime()),
                                sql::text(QStringLiteral("На зв'язку")), callsign));
                return true;
            },
            m_figures.refused);
    } else {
        // A free driver moved to another stand; a driver on a trip stays where he is.
        timed(
            [&](FbQuery& q) {
                q.exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_VULICA = %1 WHERE "
                                      "(ZAD_AVTO_POZIVNIY = %2) AND (ZAD_AVTO_NOMER_ZAMOVL = 0)")
                           .arg(sql::text(QStringLiteral("Стоянка %1").arg(stand(m_random))), callsign));
                return true;
            },
            m_figures.refused);
    }
    if (m_figures.refused == before)
        ++m_figures.changes;
}

void DriverSide::endTrips()
{
    std::vector<std::pair<qint64, qint64>> busy; // order, callsign
    {
        FbTransaction read(m_connection, QStringLiteral("DRIVERS"));
        FbQuery query(read);
        const FbRows& rows = query.exec(QStringLiteral(
            "SELECT ZAD_AVTO_NOMER_ZAMOVL, ZAD_AVTO_POZIVNIY FROM ZADIANI_AVTO WHERE ZAD_AVTO_NOMER_ZAMOVL <> 0"));
        for (const auto& row : rows.rows)
            busy.emplace_back(row[0].toLongLong(), row[1].toLongLong());
        read.commit();
    }
    const qint64 now = RoomNowNs();
    const qint64 trip = m_schedule.realNsOf(m_tripSimulatedSeconds);
    std::uniform_int_distribution<int> stand(0, 199);
    for (const auto& [order, callsign] : busy) {
        const qint64 since = m_busySinceNs.value(order, 0);
        if (since == 0) {
            m_busySinceNs.insert(order, now);
            continue;
        }
        if (now - since < trip || m_figures.tripEndedNs.contains(order))
            continue;
        const qint64 began = RoomNowNs();
        const qint64 refusedBefore = m_figures.tripEndsRefused;
        // The order is executed and the driver free again, together or not at all.
        timed(
            [&](FbQuery& q) {
                q.exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_STATUS_ZAMOVL = 1 WHERE (ZAMOVL_NUMBER = %1) "
                                      "AND (ZAMOVL_POZIVNIY = %2) AND (ZAMOVL_STATUS_ZAMOVL = 0)")
                           .arg(sql::integer(order), sql::integer(callsign)));
                if (q.affectedRows() != 1)
                    return false;
                q.exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = 0, ZAD_AVTO_ZADIANIST = 0, "
                                      "ZAD_AVTO_VULICA = %1 WHERE (ZAD_AVTO_POZIVNIY = %2) AND "
                                      "(ZAD_AVTO_NOMER_ZAMOVL = %3)")
                           .arg(sql::text(QStringLiteral("Стоянка %1").arg(stand(m_random))),
                                sql::integer(callsign), sql::integer(order)));
                return q.affectedRows() >= 1;
            },
            m_figures.tripEndsRefused);
        if (m_figures.tripEndsRefused == refusedBefore) {
            ++m_figures.tripsEnded;
            m_figures.tripEndedNs.insert(order, began);
        }
    }
}
