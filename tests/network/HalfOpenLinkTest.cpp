#include "FreezingTcpProxy.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/WorkstationChecks.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "platform/Clock.h"
#include "platform/ProgramExit.h"
#include "support/TestDatabase.h"
#include "support/TestWorkstation.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <gtest/gtest.h>

// A link that stops answering without ever being reset: the workstation must find out in
// seconds, not after the minutes TCP takes to give up.
class HalfOpenLink : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const QString server = qEnvironmentVariable("TAXI_FB_SERVER");
        const auto match = QRegularExpression(QStringLiteral("^127\\.0\\.0\\.1/(\\d+):$")).match(server);
        if (match.hasMatch()) {
            serverPort = match.captured(1).toInt();
            db = new TestDatabase(server);
        }
    }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    void SetUp() override
    {
        if (!db)
            GTEST_SKIP() << "TAXI_FB_SERVER is not set: run this suite through run.sh";
        proxy = std::make_unique<FreezingTcpProxy>(serverPort);
    }
    // The test database, reached through the proxy.
    ConnectionParameters throughProxy() const
    {
        ConnectionParameters p = db->params();
        p.database =
            QStringLiteral("127.0.0.1/%1:%2/TEST.FDB").arg(QString::number(proxy->port()), db->folder());
        return p;
    }

    static inline TestDatabase* db = nullptr;
    static inline int serverPort = 0;
    std::unique_ptr<FreezingTcpProxy> proxy;
};

TEST_F(HalfOpenLink, APingThatGetsNoAnswerFailsAtItsDeadlineAndLaterCallsFailAtOnce)
{
    ConnectionLimits limits;
    limits.pingDeadline = std::chrono::milliseconds(500);
    limits.callDeadline = std::chrono::milliseconds(1500);
    FbConnection connection;
    connection.connect(throughProxy(), limits);
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    EXPECT_EQ(q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$DATABASE")).rows[0][0].toInt(), 1);
    ASSERT_TRUE(connection.ping());

    proxy->freeze();
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(connection.ping());
    EXPECT_GE(waited.elapsed(), 400);
    EXPECT_LT(waited.elapsed(), 3000);
    EXPECT_TRUE(connection.deadlinePassed());

    waited.restart();
    try {
        q.exec(QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
        FAIL() << "a closed link answered";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.linkLost()) << e.message().toStdString();
    }
    connection.markLost();
    EXPECT_FALSE(connection.isConnected());
    EXPECT_LT(waited.elapsed(), 1000);
}

TEST_F(HalfOpenLink, AStatementThatGetsNoAnswerFailsAtTheCallDeadline)
{
    ConnectionLimits limits;
    limits.callDeadline = std::chrono::milliseconds(1000);
    FbConnection connection;
    connection.connect(throughProxy(), limits);
    FbTransaction t(connection, QStringLiteral("T"));
    FbQuery q(t);
    q.exec(QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
    proxy->freeze();
    QElapsedTimer waited;
    waited.start();
    EXPECT_THROW(q.exec(QStringLiteral("SELECT COUNT(*) FROM ZAMOVLENNIA")), DbError);
    EXPECT_GE(waited.elapsed(), 900);
    EXPECT_LT(waited.elapsed(), 5000);
}

// The workstation as it is configured: its link check ends the program within seconds.
TEST_F(HalfOpenLink, TheWorkstationsLinkCheckEndsTheProgramOnceWithinSeconds)
{
    ServerSettings settings = db->serverSettings();
    settings.server = QStringLiteral("127.0.0.1/%1:").arg(proxy->port());
    TestWorkstation ws(settings);
    ASSERT_TRUE(ws.connect());
    FixedClock clock;
    DispatchContext ctx{*ws.dani, ws.store, ws.prompts, clock, *ws.map, {}, {}};
    RecordedExit exit;
    ASSERT_TRUE(CheckDatabaseLink(ctx, exit));

    proxy->freeze();
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(CheckDatabaseLink(ctx, exit));
    EXPECT_LT(waited.elapsed(), 15000);
    EXPECT_EQ(exit.count(), 1);
    ASSERT_EQ(ws.prompts.messages().size(), 1);
    EXPECT_TRUE(ws.prompts.messages()[0].startsWith(QStringLiteral("Немає звязку з базою даних")));
    EXPECT_TRUE(CheckDatabaseLink(ctx, exit)); // given up: the next tick is silent
    EXPECT_EQ(ws.prompts.messages().size(), 1);
}

// A server that accepts the connection and never answers: the start gives up after the
// connect timeout instead of hanging.
TEST(SilentServer, ConnectingGivesUpAfterTheConnectTimeout)
{
    SilentListener silent;
    ConnectionLimits limits;
    limits.connectTimeoutSeconds = 1;
    FbConnection connection;
    QElapsedTimer waited;
    waited.start();
    EXPECT_THROW(connection.connect({QStringLiteral("127.0.0.1/%1:/nowhere/TEST.FDB").arg(silent.port()),
                                     QStringLiteral("SYSDBA"), QStringLiteral("masterkey")},
                                    limits),
                 DbError);
    EXPECT_LT(waited.elapsed(), 5000);
    EXPECT_FALSE(connection.isConnected());
}
