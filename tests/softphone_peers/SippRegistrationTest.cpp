#include "SippProcess.h"

#include "../softphone/SoftphoneTestSupport.h"
#include "softphone/TSIPClient.h"

#include <gtest/gtest.h>

namespace {

// The softphone registering with sipp as the registrar.
class RegistrationWithSipp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (SippProcess::Executable().isEmpty())
            GTEST_SKIP()
                << "sipp is not installed (package sip-tester): registration against sipp not tested";
        m_sippPort = FreeUdpPort();
        m_client.SetLocalPort(FreeUdpPort());
        m_client.SetServerPort(m_sippPort);
        m_client.SetLocalMedia("127.0.0.1", 5004);
        QObject::connect(&m_client, &TSIPClient::OnStateChange, &m_client,
                         [this](TSIPClient* sender) { m_states.push_back(sender->State()); });
    }

    bool ConnectAs(const QByteArray& password)
    {
        return m_client.Connect("101", "127.0.0.1", "101", password);
    }

    quint16 m_sippPort = 0;
    TSIPClient m_client;
    std::vector<int> m_states;
};

QMap<QString, QString> challenge(const QString& status, const QString& header)
{
    return {{QStringLiteral("STATUS"), status}, {QStringLiteral("CHALLENGE_HEADER"), header}};
}

} // namespace

TEST_F(RegistrationWithSipp, RegisterIsAccepted)
{
    SippProcess sipp(QStringLiteral("register_ok.xml"), m_sippPort);
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000));
    EXPECT_TRUE(m_client.Registered());
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
}

TEST_F(RegistrationWithSipp, DigestAfter401IsVerifiedBySipp)
{
    SippProcess sipp(QStringLiteral("register_challenge.xml"), m_sippPort, {},
                     challenge(QStringLiteral("401 Unauthorized"), QStringLiteral("WWW-Authenticate")));
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000))
        << "state " << int(m_client.State()) << '\n'
        << sipp.Report().toStdString();
    EXPECT_EQ(m_states, (std::vector<int>{1, 4, 2}));
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
}

TEST_F(RegistrationWithSipp, ProxyAuthorizationAfter407IsAcceptedBySipp)
{
    SippProcess sipp(QStringLiteral("register_proxy_challenge.xml"), m_sippPort);
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000))
        << "state " << int(m_client.State()) << '\n'
        << sipp.Report().toStdString();
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
}

TEST_F(RegistrationWithSipp, WrongPasswordIsAnswered403)
{
    SippProcess sipp(QStringLiteral("register_challenge.xml"), m_sippPort, {},
                     challenge(QStringLiteral("401 Unauthorized"), QStringLiteral("WWW-Authenticate")));
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("wrong"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::AuthRejected; }, 5000))
        << "state " << int(m_client.State()) << '\n'
        << sipp.Report().toStdString();
    EXPECT_EQ(m_client.LastReason(), "403 Forbidden");
    EXPECT_FALSE(m_client.Registered());
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
}

TEST_F(RegistrationWithSipp, TwoChallengesInARowGetNoThirdRegister)
{
    SippProcess sipp(QStringLiteral("register_two_challenges.xml"), m_sippPort);
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("secret"));
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::Authenticating);
    EXPECT_FALSE(m_client.Registered());
}

TEST_F(RegistrationWithSipp, UnregisterSendsExpiresZero)
{
    SippProcess sipp(QStringLiteral("register_unregister.xml"), m_sippPort);
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000));
    m_client.Disconnect();
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Disconnected; }, 5000))
        << sipp.Report().toStdString();
    EXPECT_FALSE(m_client.IsOpen());
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
}

TEST_F(RegistrationWithSipp, IntervalTooBriefIsRetriedOnceWithMinExpires)
{
    SippProcess sipp(QStringLiteral("register_interval_too_brief.xml"), m_sippPort);
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000))
        << sipp.Report().toStdString();
    EXPECT_TRUE(m_client.Registered());
    EXPECT_EQ(m_client.RegistrationConfirmedAt().secsTo(m_client.RegistrationLapsesAt()), 3600);
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
}

TEST_F(RegistrationWithSipp, OfMd5AndSha256ChallengesSha256IsAnswered)
{
    SippProcess sipp(QStringLiteral("register_two_algorithms.xml"), m_sippPort);
    ASSERT_TRUE(sipp.Start()) << sipp.Report().toStdString();
    ASSERT_TRUE(ConnectAs("secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000))
        << sipp.Report().toStdString();
    EXPECT_TRUE(sipp.Succeeded()) << sipp.Report().toStdString();
}
