// The order maintenance window's group close on the benchmark city: 200 assigned open
// orders of drivers without GPRS, their planned completion passed, closed in one run.
#include "common/BenchCity.h"
#include "common/BenchSetup.h"
#include "common/Stopwatch.h"
#include "dispatch/DispatchContext.h"
#include "orders/maintenance/OpenOrderMaintenance.h"
#include "platform/Clock.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);
    TestDatabase db;
    if (!LoadBenchCity(db, work.path()))
        return 1;
    TestWorkstation ws(db.serverSettings());
    if (!ws.connect())
        return 1;
    FixedClock clock(BenchCityNow());
    DispatchContext ctx{*ws.dani, ws.store, ws.prompts, clock, *ws.map, QStringLiteral("Бенчмарк"), {}};

    // 200 open orders handed to as many drivers without GPRS, due since yesterday.
    db.exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_POZIVNIY = 0 WHERE ZAMOVL_STATUS_ZAMOVL = 0"));
    db.exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = 0, ZAD_AVTO_ZADIANIST = 0"));
    const FbRows drivers =
        db.exec(QStringLiteral("SELECT FIRST 200 ZAD_AVTO_POZIVNIY, MAX(ZAD_AVTO_FIO_VODIY) FROM "
                               "ZADIANI_AVTO WHERE ZAD_AVTO_MARKA_AVTO "
                               "NOT LIKE '%{GPRS}%' GROUP BY ZAD_AVTO_POZIVNIY"));
    const FbRows orders = db.exec(QStringLiteral("SELECT FIRST 200 ZAMOVL_NUMBER FROM ZAMOVLENNIA WHERE "
                                                 "ZAMOVL_STATUS_ZAMOVL = 0 ORDER BY ZAMOVL_NUMBER"));
    const int count = std::min(drivers.rowCount(), orders.rowCount());
    const QString yesterday = clock.now().date().addDays(-1).toString(QStringLiteral("dd.MM.yyyy"));
    for (int i = 0; i < count; ++i) {
        const qint64 callsign = drivers.rows[i][0].toLongLong();
        const qint64 number = orders.rows[i][0].toLongLong();
        db.exec(QStringLiteral("UPDATE ZAMOVLENNIA SET ZAMOVL_POZIVNIY = %1, ZAMOVL_FIO_TAXI = '%2', "
                               "ZAMOVL_DATA_ZAKR_ZAMOVL = '%3', ZAMOVL_CHAS_ZAKR_ZAMOVL = '10:00' WHERE "
                               "ZAMOVL_NUMBER = %4")
                    .arg(callsign)
                    .arg(drivers.rows[i][1].toString().replace(QLatin1Char('\''), QStringLiteral("''")))
                    .arg(yesterday)
                    .arg(number));
        db.exec(
            QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_NOMER_ZAMOVL = %1, ZAD_AVTO_ZADIANIST = 1 WHERE "
                           "ZAD_AVTO_POZIVNIY = %2")
                .arg(number)
                .arg(callsign));
    }
    const auto executed = [&db] {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA WHERE ZAMOVL_STATUS_ZAMOVL = 1"));
    };
    const qint64 before = executed();
    OrderMaintenanceRequest header;
    header.page = QStringLiteral("ACTIV_ZAM");
    ws.prompts.answerQuestion(true);
    const Stopwatch run;
    OpenOrderMaintenance(ctx, header).CloseDueOrders();
    const double wall = run.wallMs();
    const double cpu = run.cpuMs();
    const qint64 closed = executed() - before;
    std::printf(
        "CloseDueOrders: %lld of %d due orders closed in %.0f ms (cpu %.0f), %.2f ms (cpu %.2f) per order  "
        "target < 5 ms per order\n",
        qlonglong(closed), count, wall, cpu, closed ? wall / double(closed) : 0.0,
        closed ? cpu / double(closed) : 0.0);
    return closed == count ? 0 : 1;
}
