#include "platform/net/HostLookup.h"
#include "platform/net/MillisecondTick.h"
#include "platform/net/SecureRandomId.h"
#include "platform/net/UdpSocket.h"

#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <cerrno>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {

bool hasNonLoopbackInterface()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next)
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET && (entry->ifa_flags & IFF_UP) &&
            (ntohl(reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr) >> 24) != 127)
            found = true;
    freeifaddrs(list);
    return found;
}

} // namespace

TEST(HostLookup, FailureIsNotTheBroadcastAddress)
{
    EXPECT_EQ(ResolveHost("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(ResolveHost("10.0.0.5"), 0x0A000005u);
    EXPECT_FALSE(ResolveHost(""));
    EXPECT_FALSE(ResolveHost("no-such-host.invalid"));
    EXPECT_FALSE(ResolveHost(QByteArray("10.0.0.5\0evil", 13)));
    EXPECT_EQ(ResolveHost("localhost"), 0x7F000001u);
}

TEST(HostLookup, LocalAddressIsReachableFromOtherSystems)
{
    EXPECT_FALSE(LocalHostName().isEmpty());
    const std::optional<quint32> address = LocalAddress();
    ASSERT_TRUE(address);
    if (hasNonLoopbackInterface()) {
        EXPECT_NE(*address >> 24, 127u) << "a loopback address while a real interface exists";
    }
}

TEST(SecureRandomIds, AreFreshAndWellFormed)
{
    QSet<QByteArray> seen;
    const QRegularExpression hex(QStringLiteral("^[0-9A-F]{32}$"));
    for (int i = 0; i < 1000; ++i) {
        const QByteArray id = NewHexId();
        ASSERT_TRUE(hex.match(QString::fromLatin1(id)).hasMatch()) << id.constData();
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000);
    EXPECT_EQ(NewRawId().size(), 16);
    EXPECT_NE(NewRawId(), NewRawId());
}

TEST(MillisecondTicks, AdvanceWithTime)
{
    const quint32 before = MillisecondTick();
    QThread::msleep(20);
    const quint32 elapsed = MillisecondTick() - before; // wraps correctly by subtraction
    EXPECT_GE(elapsed, 19u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(UdpSockets, ReportTheSystemErrorAndCarryDatagramsWithTheirSender)
{
    UdpSocket first;
    UdpSocket second;
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(first.bind(0));
    ASSERT_TRUE(second.open());
    EXPECT_FALSE(second.bind(first.localPort()));
    EXPECT_EQ(second.lastError(), EADDRINUSE);
    ASSERT_TRUE(second.bind(0));

    ASSERT_EQ(second.sendTo({0x7F000001, first.localPort()}, "hello", 5), 5);
    ASSERT_TRUE(first.waitReadable(1000));
    char buffer[16];
    Ipv4Endpoint from;
    ASSERT_EQ(first.receive(buffer, sizeof buffer, from), 5);
    EXPECT_EQ(QByteArray(buffer, 5), "hello");
    EXPECT_EQ(from.port, second.localPort());
    EXPECT_EQ(from.dottedAddress(), "127.0.0.1");
    EXPECT_FALSE(first.waitReadable(10));
    EXPECT_EQ(first.close(), 0);
    EXPECT_EQ(first.close(), -1);
}
