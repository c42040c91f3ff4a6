#include "SipClientFixture.h"
#include "softphone/DigestAuthorization.h"

#include <QElapsedTimer>

using RegistrationRecoveryOnTheWire = SipClientFixture;

TEST_F(RegistrationRecoveryOnTheWire, IntervalTooBriefIsRetriedOnceWithMinExpiresAndTheSameCredentials)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    SendToClient(ResponseTo(m_peer.Receive(), "401 Unauthorized",
                            "WWW-Authenticate: Digest realm=\"r\",nonce=\"n\"\r\n"));
    const QByteArray authorized = m_peer.Receive();
    ASSERT_FALSE(HeaderOf(authorized, "Authorization").isEmpty());
    SendToClient(ResponseTo(authorized, "423 Interval Too Brief", "Min-Expires: 3600\r\n"));
    const QByteArray longer = m_peer.Receive();
    EXPECT_EQ(HeaderOf(longer, "CSeq"), "3 REGISTER");
    EXPECT_EQ(HeaderOf(longer, "Expires"), "3600");
    EXPECT_EQ(HeaderOf(longer, "Authorization"), HeaderOf(authorized, "Authorization"));

    // Once only: a second 423 ends the attempt with its reason.
    SendToClient(ResponseTo(longer, "423 Interval Too Brief", "Min-Expires: 7200\r\n"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::ServerError; }));
    EXPECT_EQ(m_client.LastReason(), "423 Interval Too Brief");
    EXPECT_TRUE(m_peer.Receive(300).isEmpty());
    EXPECT_FALSE(m_client.Registered());
}

TEST_F(RegistrationRecoveryOnTheWire, OfSeveralChallengesTheStrongestIsAnswered)
{
    const QByteArray challenges = "WWW-Authenticate: Digest realm=\"r\",nonce=\"md5n\",algorithm=MD5\r\n"
                                  "WWW-Authenticate: Digest realm=\"r\",nonce=\"shan\",algorithm=SHA-256\r\n";
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    SendToClient(ResponseTo(m_peer.Receive(), "401 Unauthorized", challenges));
    const QByteArray sha = m_peer.Receive();
    using Algorithm = DigestAuthorization::Algorithm;
    const QByteArray expected =
        DigestAuthorization::Response(DigestAuthorization::HA1("101", "r", "secret", Algorithm::Sha256),
                                      "shan", "REGISTER", "sip:127.0.0.1", {}, {}, {}, Algorithm::Sha256);
    EXPECT_EQ(HeaderOf(sha, "Authorization"),
              "Digest username=\"101\",realm=\"r\",nonce=\"shan\",response=\"" + expected +
                  "\",uri=\"sip:127.0.0.1\",algorithm=SHA-256,opaque=\"\"");

    // A precomputed HA1 is an MD5 one: only the MD5 challenge can be answered.
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "{0123456789abcdef0123456789abcdef}"));
    SendToClient(ResponseTo(m_peer.Receive(), "401 Unauthorized", challenges));
    const QByteArray md5 = m_peer.Receive();
    EXPECT_TRUE(HeaderOf(md5, "Authorization").contains("nonce=\"md5n\""));
    EXPECT_TRUE(HeaderOf(md5, "Authorization").contains(",algorithm=MD5,"));
}

TEST_F(RegistrationRecoveryOnTheWire, FailedRefreshIsRetriedWithBackOffUntilItSucceeds)
{
    m_client.SetRetransmitT1(10); // retries after 600 ms, then 1200 ms
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    SendToClient(ResponseTo(m_peer.Receive(), "200 OK", "Expires: 2\r\n"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    EXPECT_EQ(m_client.RegistrationConfirmedAt().secsTo(m_client.RegistrationLapsesAt()), 2);

    const QByteArray refresh = m_peer.Receive(2500);
    ASSERT_TRUE(refresh.startsWith("REGISTER "));
    SendToClient(ResponseTo(refresh, "503 Service Unavailable"));
    ASSERT_TRUE(WaitUntil([this] { return !m_client.Registered(); }));
    EXPECT_EQ(m_client.State(), TSIPClient::Disconnected);

    QElapsedTimer waited;
    waited.start();
    QByteArray retry = m_peer.Receive(2000);
    while (retry == refresh)
        retry = m_peer.Receive(2000);
    ASSERT_TRUE(retry.startsWith("REGISTER ")) << retry.constData();
    EXPECT_GE(waited.elapsed(), 500);
    EXPECT_EQ(HeaderOf(retry, "CSeq"), "3 REGISTER");
    SendToClient(ResponseTo(retry, "200 OK", "Expires: 60\r\n"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.Registered(); }));
    EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    EXPECT_EQ(m_registeredEvents, 2);
    EXPECT_EQ(m_client.RegistrationConfirmedAt().secsTo(m_client.RegistrationLapsesAt()), 60);
}
