#include "WorkstationFixture.h"

#include "platform/BaseFolder.h"
#include "support/WaitFor.h"

#include <QFile>

void WorkstationWindow::SetUp()
{
    BaseFolder::overrideForTests(folder.path());
    QFile ini(folder.filePath(QStringLiteral("SETSERVER.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[SHLYAH_BAZA]\r\nSERVER=\r\nPATH_BAZA=%1\r\nNAME_BAZA=TEST.FDB\r\n[SET_"
                             "SERV]\r\nLOGIN=SYSDBA\r\n"
                             "PASS=masterkey\r\n")
                  .arg(db->folder())
                  .toLatin1());
    ini.close();
    for (const char* table : {"PRACIVNIK", "ZAMOVLENNIA", "ZADIANI_AVTO"})
        db->exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    db->exec(
        QStringLiteral("INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO, TABLE_PRACIV_PASSWORD, "
                       "TABLE_PRACIV_DOST_ROZD, TABLE_PRACIV_DOST_ZAMOVL) VALUES (1, 'Оля', '1', 1, 0)"));
    db->exec(QStringLiteral("INSERT INTO DANI_FIRMI (FIRMA_ZA_CHAS_POPERED_ZAMOV, "
                            "FIRMA_CHAS_DLIA_PEREZM_AVTO) VALUES (30, '800')"));
    ws = std::make_unique<Workstation>(clock, &prompts, &exit, &shell, &audio);
    ws->start();
    ASSERT_TRUE(waitFor([this] { return ws->dani.IBEvents1.ready(); })); // events are reported from now on
}

void WorkstationWindow::TearDown()
{
    ws->form1.allowClose();
    ws.reset();
    db->exec(QStringLiteral("DELETE FROM DANI_FIRMI"));
    BaseFolder::overrideForTests({});
}
