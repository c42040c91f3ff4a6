// The main window on a busy dispatch room (1,000 open orders, 500 drivers on air, 200
// stands), offscreen: every list reopened and the window repainted; the work of the
// timer's once-a-minute tick; the resident memory of the running workstation.
#include "app/ui/Workstation.h"
#include "common/BenchCity.h"
#include "common/BenchSetup.h"
#include "mainwindow/SecondTimer.h"
#include "platform/BaseFolder.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const BenchSetup work;
    QApplication app(argc, argv);
    TestDatabase db;
    if (!LoadBenchCity(db, work.path()))
        return 1;
    BaseFolder::overrideForTests(work.path());
    QFile ini(work.path() + QStringLiteral("/SETSERVER.INI"));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write(QStringLiteral(
                  "[SHLYAH_BAZA]\r\nPATH_BAZA=%1\r\nNAME_BAZA=TEST.FDB\r\n[SET_SERV]\r\nLOGIN=SYSDBA\r\n")
                  .arg(db.folder())
                  .toUtf8());
    ini.close();

    FixedClock clock(BenchCityNow());
    ScriptedPrompts prompts;
    Workstation ws(clock, &prompts);
    ws.mainWindow.timer().stop(); // ticks are driven by hand below
    ws.start();
    emit ws.form3.logInRequested(QStringLiteral("Ковальчук Олена Петрівна"), QStringLiteral("1"));
    if (!ws.form1.loggedIn()) {
        std::printf("could not log in\n");
        return 1;
    }
    ws.form1.resize(1280, 800);
    QApplication::processEvents();

    std::vector<double> refresh;
    for (int round = 0; round < 10; ++round) {
        for (FbDataSet* list : {&ws.dani.TABL_AKTIV_ZAMOVL, &ws.dani.TABL_ZADIANI_AVTO,
                                &ws.dani.TABLE_ZADIANI_AVTO_GROUP, &ws.dani.TABL_DIY_VODY_GPRS})
            list->close();
        QElapsedTimer t;
        t.start();
        ws.mainWindow.refreshShown();
        const QPixmap shot = ws.form1.grab(); // paints the whole window offscreen
        refresh.push_back(msSince(t));
    }
    std::printf("RefreshLists + repaint of the main window: median %.1f ms (open %d, drivers %d, stands %d)  "
                "target < 150 ms\n",
                median(refresh), ws.dani.TABL_AKTIV_ZAMOVL.recordCount(),
                ws.dani.TABL_ZADIANI_AVTO.recordCount(), ws.dani.TABLE_ZADIANI_AVTO_GROUP.recordCount());

    // The minute tick with everything it may do: mark resets and the hot list.
    if (!ws.commands.marks().autoUpdate())
        ws.commands.marks().toggleAutoUpdate();
    ws.form1.orderViews()->setCurrentIndex(2);
    std::vector<double> minute;
    for (int round = 0; round < 5; ++round) {
        while ((ws.mainWindow.secondTimer().counter() + 1) % 60 != 0)
            ws.mainWindow.secondTimer().tick();
        QElapsedTimer t;
        t.start();
        ws.mainWindow.secondTimer().tick();
        minute.push_back(msSince(t));
    }
    std::printf("the 60th tick (link check, mark resets, hot list): median %.1f ms  target < 50 ms\n",
                median(minute));
    std::printf("resident memory of the running workstation: %.1f MB  target < 200 MB\n",
                residentKilobytes() / 1024.0);
    ws.form1.allowClose();
    return 0;
}
