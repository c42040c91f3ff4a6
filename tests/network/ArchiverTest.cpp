#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"
#include "support/WaitFor.h"

#include <QProcess>
#include <gtest/gtest.h>

// The archiving stand-in of the server side, as a separate process beside a workstation.
TEST(Archiver, MovesClosedOrdersAndEveryWorkstationReloadsItsArchiveLists)
{
    const QString server = qEnvironmentVariable("TAXI_FB_SERVER");
    const QString program = qEnvironmentVariable("TAXI_ARCHIVER");
    if (server.isEmpty() || program.isEmpty())
        GTEST_SKIP() << "TAXI_FB_SERVER and TAXI_ARCHIVER are set by run.sh";
    TestDatabase db(server);
    TestWorkstation workstation(db.serverSettings());
    ASSERT_TRUE(workstation.connect());
    (*workstation.reopener)();

    db.exec(QStringLiteral(
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_POCHAT_PUNKT, ZAMOVL_STATUS_ZAMOVL, "
        "ZAMOVL_PRICHINA_DELETE, ZAMOVL_DATA_ZAKR_ZAMOVL, ZAMOVL_CHAS_ZAKR_ZAMOVL, ZAMOVL_SUMA_ROZRAHUNK) "
        "VALUES (41, '[Лук''янівська]{7}', 1, 'готово', CURRENT_DATE, '00:00', 85.5)"));
    db.exec(QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL) VALUES (42, 0)"));
    db.exec(QStringLiteral(
        "INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_STATUS_ZAMOVL, ZAMOVL_DATA_ZAKR_ZAMOVL, "
        "ZAMOVL_CHAS_ZAKR_ZAMOVL) VALUES (43, -1, CURRENT_DATE, '00:00')"));

    QProcess archiver;
    archiver.start(program, {db.path(), QStringLiteral("--interval"), QStringLiteral("1")});
    ASSERT_TRUE(archiver.waitForStarted());
    ASSERT_TRUE(waitFor([&] { return workstation.dani->TABL_VIKON_ZAMOVL.recordCount() == 1; }, 10000));
    EXPECT_TRUE(waitFor([&] { return workstation.dani->TABL_DELETE_ZAMOVL.recordCount() == 1; }));
    EXPECT_EQ(workstation.dani->TABL_VIKON_ZAMOVL.value(QStringLiteral("CZ_POCHAT_PUNKT")).toString(),
              QStringLiteral("[Лук'янівська]{7}"));
    EXPECT_DOUBLE_EQ(
        workstation.dani->TABL_VIKON_ZAMOVL.value(QStringLiteral("CZ_SUMA_ROZRAHUNK")).toDouble(), 85.5);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA")), 1); // the open order stays

    archiver.terminate(); // SIGTERM: stops between two runs
    ASSERT_TRUE(archiver.waitForFinished(5000));
    EXPECT_EQ(archiver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(archiver.exitCode(), 0);
}
