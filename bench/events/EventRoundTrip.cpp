// Event round trip: another connection inserts an order and commits; how long until the
// workstation's open-orders list has reopened and shows it. 1,000 open orders and 500
// drivers on air, measured on the embedded engine and, when TAXI_FB_SERVER names one
// ("127.0.0.1/port:"), on the network server.
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

void fill(TestDatabase& db)
{
    db.exec(QStringLiteral(
        "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN "
        "WHILE (I < 1000) DO BEGIN "
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_NOMER_KLIENT, ZAMOVL_PRICHINA_DELETE, "
        "ZAMOVL_POCHAT_PUNKT, "
        "ZAMOVL_PUNKT_PRIZHACH, ZAMOVL_SUMA_ROZRAHUNK, ZAMOVL_PRIYOM_ZAMOVL, ZAMOVL_DATA_PRIYOMA, "
        "ZAMOVL_CHAS_PRIYOMA, "
        "ZAMOVL_POZIVNIY, ZAMOVL_BEZKOSHTOVN, ZAMOVL_STATUS_ZAMOVL) VALUES (GEN_ID(GENIDZAMOVL, 1), 0, "
        "'{швидке}   тел.:[0501234567]', '[Шевченка]{' || :I || '}', '[Лесі Українки]{3}', 85.5, 'Ковальчук "
        "Олена', "
        "CURRENT_DATE, '08:00', MOD(:I, 3), 'HI', 0); I = I + 1; END "
        "I = 0; WHILE (I < 500) DO BEGIN "
        "INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_FIO_VODIY, ZAD_AVTO_RAYON, "
        "ZAD_AVTO_MARKA_AVTO, "
        "ZAD_AVTO_CHAS_ZAMOVL, ZAD_AVTO_VULICA, ZAD_AVTO_ZADIANIST, ZAD_AVTO_NOMER_ZAMOVL) VALUES (:I, "
        "'Водій ' || :I, "
        "'[8:00:00](){}', '{GPRS}Ланос', LPAD(:I, 4, '0'), 'Стоянка ' || MOD(:I, 200), 0, 0); I = I + 1; END "
        "END"));
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

void measure(const char* label, const QString& serverPrefix, int rounds)
{
    TestDatabase db(serverPrefix);
    fill(db);
    TestWorkstation workstation(db.serverSettings());
    if (!workstation.connect()) {
        std::printf("%s: could not connect: %s\n", label,
                    qPrintable(workstation.prompts.messages().join(' ')));
        return;
    }
    TDANI& dani = *workstation.dani;
    (*workstation.reopener)();

    FbTransaction transaction(db.other(), QStringLiteral("BENCH"));
    FbQuery insert(transaction);
    QTimer safety; // wakes the wait below now and then, should an alert never come
    safety.start(20);
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const int expected = dani.TABL_AKTIV_ZAMOVL.recordCount() + 1;
        insert.exec(QStringLiteral(
            "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_STATUS_ZAMOVL, "
            "ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA) VALUES (GEN_ID(GENIDZAMOVL, 1), 'Нове', 0, "
            "CURRENT_DATE, '23:59')"));
        QElapsedTimer timer;
        timer.start();
        transaction.commit();
        while (dani.TABL_AKTIV_ZAMOVL.recordCount() != expected && timer.elapsed() < 5000)
            QAbstractEventDispatcher::instance()->processEvents(QEventLoop::WaitForMoreEvents);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%-28s rounds %d   p50 %7.2f ms   p99 %7.2f ms   max %7.2f ms\n", label, rounds,
                percentile(ms, 0.50), percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir lockFolder(QDir::tempPath() + QStringLiteral("/taxi-bench-lock-XXXXXX"));
    if (qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
        qputenv("FIREBIRD_LOCK", lockFolder.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(10, atoi(argv[1])) : 200;
    std::printf("Event round trip: insert by another connection until the open-orders list shows it\n"
                "(1,000 open orders, 500 drivers on air)\n");
    measure("embedded engine", {}, rounds);
    const QString server = qEnvironmentVariable("TAXI_FB_SERVER");
    if (server.isEmpty())
        std::printf("network server: skipped (TAXI_FB_SERVER not set; ./taxi bench starts one)\n");
    else
        measure("network server (loopback)", server, rounds);
    return 0;
}
