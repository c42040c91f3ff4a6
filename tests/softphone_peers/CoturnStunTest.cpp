#include "../softphone/SoftphoneTestSupport.h"
#include "softphone/TSTUNClient.h"

#include "support/peers/RealPeers.h"
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// coturn as a STUN-only server on an unusual loopback port, started with an empty
// configuration file and its database in a temporary folder.
TEST(StunWithCoturn, MappedAddressArrives)
{
    const QString turnserver = QStandardPaths::findExecutable(QStringLiteral("turnserver"));
    if (turnserver.isEmpty())
        TAXI_SKIP_WITHOUT_PEER(
            "turnserver is not installed (package coturn): STUN against coturn not tested");
    QTemporaryDir folder;
    QFile emptyConfig(folder.filePath(QStringLiteral("turnserver.conf")));
    ASSERT_TRUE(emptyConfig.open(QIODevice::WriteOnly));
    emptyConfig.close();

    const quint16 port = FreeUdpPort();
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(turnserver, {QStringLiteral("-c"), emptyConfig.fileName(), QStringLiteral("--stun-only"),
                              QStringLiteral("-L"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                              QString::number(port), QStringLiteral("--no-tls"), QStringLiteral("--no-dtls"),
                              QStringLiteral("--no-cli"), QStringLiteral("--db"),
                              folder.filePath(QStringLiteral("turndb")), QStringLiteral("--pidfile"),
                              folder.filePath(QStringLiteral("turnserver.pid")), QStringLiteral("--log-file"),
                              QStringLiteral("stdout"), QStringLiteral("--simple-log")});
    ASSERT_TRUE(server.waitForStarted(5000));
    const bool listening =
        WaitUntil([&] { return server.state() == QProcess::NotRunning || UdpPortIsTaken(port); }, 5000);
    ASSERT_TRUE(listening && server.state() == QProcess::Running) << server.readAll().toStdString();

    TSTUNClient client;
    client.SetLocalPort(FreeUdpPort());
    client.SetServerPort(port);
    bool result = false;
    QObject::connect(&client, &TSTUNClient::OnResult, &client, [&] { result = true; });
    ASSERT_TRUE(client.Query("127.0.0.1"));
    EXPECT_TRUE(WaitUntil([&] { return result; }, 5000)) << server.readAll().toStdString();
    EXPECT_EQ(client.MappedAddressText(), "127.0.0.1");
    EXPECT_NE(client.MappedPort(), 0);

    server.terminate();
    if (!server.waitForFinished(3000)) {
        server.kill();
        server.waitForFinished(2000);
    }
}
