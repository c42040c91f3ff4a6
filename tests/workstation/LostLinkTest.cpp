#include "WorkstationFixture.h"

#include "foundation/TDANI.h"
#include "platform/BaseFolder.h"
#include "support/WaitFor.h"

#include <QFile>
#include <QTabWidget>
#include <utility>

namespace {
int linkMessages(const ScriptedPrompts& prompts)
{
    return int(prompts.messages().filter(QStringLiteral("Немає звязку з базою даних")).size());
}
} // namespace

// The attachment is killed on the server (as a lost network does to it): the tick finds
// out, shows its box once although the timer goes on under it, and ends the program once.
TEST_F(WorkstationWindow, AKilledAttachmentShowsTheLostLinkOnceAndEndsTheProgramOnce)
{
    logIn();
    prompts.clear();
    const qint64 mine = ws->dani.RIZNE.exec(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"))
                            .rows[0][0]
                            .toLongLong();
    ws->dani.TRANZ_RIZNE.commit();
    prompts.openForMs = 2500; // two more ticks while the box is open
    db->exec(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = %1").arg(mine));
    ASSERT_TRUE(waitFor([&] { return exit.count() > 0; }, 8000));
    prompts.openForMs = 0;
    settle(1500); // and two ticks after it
    EXPECT_EQ(exit.count(), 1);
    EXPECT_EQ(exit.code(), 1);
    EXPECT_EQ(linkMessages(prompts), 1);
    EXPECT_FALSE(ws->dani.BAZA.isConnected());
    // With the link given up the window may close: the program is ending anyway.
    ws->form1.allowClose();
}

// The link goes in the middle of a shift change, after the password was accepted: the
// desk is left with nobody on shift and grants nothing, rather than a dispatcher without
// rights and the previous shift's settings.
TEST_F(WorkstationWindow, ALinkLostDuringTheShiftChangeLeavesTheDeskLoggedOut)
{
    logIn();
    ASSERT_TRUE(ws->form1.loggedIn());
    prompts.clear();
    const qint64 mine = ws->dani.RIZNE.exec(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"))
                            .rows[0][0]
                            .toLongLong();
    ws->dani.TRANZ_RIZNE.commit();
    bool killed = false;
    QObject::connect(&ws->shiftChange, &ShiftChangeController::loadProgress, &ws->form3, [&] {
        if (std::exchange(killed, true))
            return;
        db->exec(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = %1").arg(mine));
    });
    ws->form3.show();
    logIn();
    EXPECT_TRUE(killed);
    EXPECT_FALSE(ws->form1.loggedIn());
    EXPECT_EQ(ws->form1.dispatcherName(), TForm1::kNobodyLoggedIn);
    EXPECT_FALSE(ws->form1.mainTabs()->isTabVisible(0));
    EXPECT_TRUE(ws->form3.isVisible()); // the log-in can be tried again
    EXPECT_FALSE(prompts.messages().isEmpty());
    EXPECT_TRUE(ws->dispatch.currentDispatcher.isEmpty());
}

// Without a database the program tells why and ends; it does not wait for a log-in.
TEST(WorkstationStart, WithoutAReachableDatabaseTheMessageIsShownAndTheProgramEnds)
{
    QTemporaryDir folder;
    BaseFolder::overrideForTests(folder.path());
    QFile ini(folder.filePath(QStringLiteral("SETSERVER.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    // Nothing listens on port 1 of the loopback: the connection is refused at once.
    ini.write("[SHLYAH_BAZA]\r\nSERVER=127.0.0.1/1:\r\nPATH_BAZA=/nowhere\r\nNAME_BAZA=TEST.FDB\r\n"
              "[SET_SERV]\r\nLOGIN=SYSDBA\r\nPASS=masterkey\r\n");
    ini.close();
    FixedClock clock;
    ScriptedPrompts prompts;
    RecordedExit exit;
    {
        Workstation ws(clock, &prompts, &exit);
        ws.start();
        EXPECT_EQ(prompts.messages(), QStringList{TDANI::connectionFailedMessage()});
        EXPECT_EQ(exit.count(), 1);
        EXPECT_EQ(exit.code(), 1);
        EXPECT_FALSE(ws.form3.isVisible()); // no log-in is offered
    }
    BaseFolder::overrideForTests({});
}
