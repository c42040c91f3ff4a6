#include "SipClientFixture.h"
#include "softphone/DigestAuthorization.h"
#include "softphone/SipErrorCodes.h"

#include <cerrno>

using RegistrationOnTheWire = SipClientFixture;

TEST_F(RegistrationOnTheWire, RegisterIsByteExactAndItsOkMakesTheClientReady)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    const QByteArray request = m_peer.Receive();
    EXPECT_TRUE(MatchesTemplate(request, "REGISTER sip:127.0.0.1 SIP/2.0\r\n"
                                         "Via: SIP/2.0/UDP " +
                                             Here() +
                                             ";rport;branch=z9hG4bK<HEX>\r\n"
                                             "From: 101 <sip:101@127.0.0.1>;tag=<N>\r\n"
                                             "To: 101 <sip:101@127.0.0.1>\r\n"
                                             "Call-ID: <HEX>@127.0.0.1\r\n"
                                             "CSeq: 1 REGISTER\r\n"
                                             "Max-Forwards: 70\r\n"
                                             "Contact: 101 <sip:101@" +
                                             Here() +
                                             ">\r\n"
                                             "Expires: 1800\r\n"
                                             "User-Agent: ZorVane-TAXI DISPETCHER Softphone\r\n"
                                             "Content-Length: 0\r\n\r\n"))
        << request.constData();
    EXPECT_EQ(m_client.State(), TSIPClient::Registering);

    SendToClient(ResponseTo(request, "200 OK", "Expires: 1800\r\n"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    EXPECT_TRUE(m_client.Registered());
    EXPECT_EQ(m_registeredEvents, 1);
    EXPECT_EQ(m_states, (std::vector<int>{TSIPClient::Registering, TSIPClient::Ready}));
}

TEST_F(RegistrationOnTheWire, ChallengeIsAnsweredOnceWithTheDigest)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    const QByteArray first = m_peer.Receive();
    SendToClient(ResponseTo(first, "401 Unauthorized",
                            "WWW-Authenticate: Digest realm=\"pbx, main\",nonce=\"n1\",algorithm=MD5\r\n"));
    const QByteArray second = m_peer.Receive();
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(HeaderOf(second, "CSeq"), "2 REGISTER");
    EXPECT_NE(HeaderOf(second, "Via"), HeaderOf(first, "Via"));
    const QByteArray response = DigestAuthorization::Response(
        DigestAuthorization::HA1("101", "pbx, main", "secret"), "n1", "REGISTER", "sip:127.0.0.1");
    EXPECT_EQ(HeaderOf(second, "Authorization"),
              "Digest username=\"101\",realm=\"pbx, main\",nonce=\"n1\",response=\"" + response +
                  "\",uri=\"sip:127.0.0.1\",algorithm=MD5,opaque=\"\"");
    EXPECT_TRUE(second.contains("Max-Forwards: 70\r\nContact: 101 <sip:101@" + Here() +
                                ">\r\nExpires: 1800\r\n"
                                "User-Agent: ZorVane-TAXI DISPETCHER Softphone\r\nAuthorization: Digest"));
    EXPECT_EQ(m_client.State(), TSIPClient::Authenticating);

    // A second challenge is not answered: the password is wrong.
    SendToClient(
        ResponseTo(second, "401 Unauthorized", "WWW-Authenticate: Digest realm=\"pbx\",nonce=\"n2\"\r\n"));
    EXPECT_TRUE(m_peer.Receive(600).isEmpty());
    EXPECT_EQ(m_client.State(), TSIPClient::Authenticating);
    EXPECT_FALSE(m_client.Registered());
}

TEST_F(RegistrationOnTheWire, ProxyChallengeGetsProxyAuthorization)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "{0123456789abcdef0123456789abcdef}"));
    const QByteArray first = m_peer.Receive();
    SendToClient(ResponseTo(first, "407 Proxy Authentication Required",
                            "Proxy-Authenticate: Digest realm=\"r\",nonce=\"n\",opaque=\"op\"\r\n"));
    const QByteArray second = m_peer.Receive();
    const QByteArray expected =
        DigestAuthorization::Response("0123456789abcdef0123456789abcdef", "n", "REGISTER", "sip:127.0.0.1");
    EXPECT_TRUE(second.contains(
        "\r\nProxy-Authorization: Digest username=\"101\",realm=\"r\",nonce=\"n\",response=\"" + expected +
        "\",uri=\"sip:127.0.0.1\",algorithm=MD5,opaque=\"op\"\r\n"));
}

TEST_F(RegistrationOnTheWire, UnusableChallengesRaiseUnauthorizedAndSendNothing)
{
    for (const QByteArray& header :
         {QByteArray("WWW-Authenticate: Digest realm=\"r\",nonce=\"n\",algorithm=md5\r\n"),
          QByteArray("X-Nothing: here\r\n")}) {
        m_errorEvents = 0;
        ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
        SendToClient(ResponseTo(m_peer.Receive(), "401 Unauthorized", header));
        ASSERT_TRUE(WaitUntil([this] { return m_errorEvents == 1; }));
        EXPECT_EQ(m_client.ErrorCode(), SIP_UNAUTHORIZED);
        EXPECT_EQ(m_client.State(), TSIPClient::Authenticating);
        EXPECT_TRUE(m_peer.Receive(300).isEmpty());
    }
}

TEST_F(RegistrationOnTheWire, ForbiddenEndsWithReasonAndNoAck)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    SendToClient(ResponseTo(m_peer.Receive(), "403 Forbidden"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::AuthRejected; }));
    EXPECT_EQ(m_client.LastReason(), "403 Forbidden");
    EXPECT_EQ(m_callEndEvents, 1);
    EXPECT_TRUE(m_peer.Receive(400).isEmpty()) << "a REGISTER transaction has no ACK";
}

TEST_F(RegistrationOnTheWire, UnregisterSendsExpiresZeroAndClosesOnItsOk)
{
    Register();
    m_client.Disconnect();
    const QByteArray request = m_peer.Receive();
    EXPECT_EQ(HeaderOf(request, "Expires"), "0");
    EXPECT_EQ(HeaderOf(request, "CSeq"), "2 REGISTER");
    EXPECT_EQ(m_client.State(), TSIPClient::Registering);
    SendToClient(ResponseTo(request, "200 OK"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Disconnected; }));
    EXPECT_FALSE(m_client.Registered());
    EXPECT_FALSE(m_client.IsOpen());
    // Not registered any more: nothing is sent.
    m_client.Disconnect();
    EXPECT_TRUE(m_peer.Receive(300).isEmpty());
}

TEST_F(RegistrationOnTheWire, UnknownServerFailsWithHostNotFound)
{
    EXPECT_FALSE(m_client.Connect("101", "no-such-host.invalid", "101", "secret"));
    EXPECT_EQ(m_client.ErrorCode(), SIP_HOST_NOT_FOUND);
    EXPECT_EQ(m_client.State(), TSIPClient::CallFailed);
    EXPECT_EQ(m_callEndEvents, 1);
    EXPECT_EQ(m_errorEvents, 1);
}

TEST_F(RegistrationOnTheWire, BusyLocalPortGivesTheSystemError)
{
    UdpSocket holder;
    ASSERT_TRUE(holder.open());
    ASSERT_TRUE(holder.bind(0));
    m_client.SetLocalPort(holder.localPort());
    EXPECT_FALSE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    EXPECT_EQ(m_client.ErrorCode(), EADDRINUSE);
    EXPECT_TRUE(m_peer.Receive(300).isEmpty());
}

TEST_F(RegistrationOnTheWire, LostRegisterIsSentAgainUntilAnswered)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    const QByteArray first = m_peer.Receive();
    const QByteArray again = m_peer.Receive(1000);
    EXPECT_EQ(again, first);
    SendToClient(ResponseTo(again, "200 OK"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    while (!m_peer.Receive(50).isEmpty()) {
    } // one may have crossed the answer
    EXPECT_TRUE(m_peer.Receive(1000).isEmpty());
}

TEST_F(RegistrationOnTheWire, UnansweredRegisterEndsNotRegistered)
{
    m_client.SetRetransmitT1(10);
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Disconnected; }, 3000));
    EXPECT_FALSE(m_client.Registered());
}

TEST_F(RegistrationOnTheWire, RegistrationIsRefreshedQuietlyBeforeItExpires)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    SendToClient(ResponseTo(m_peer.Receive(), "200 OK", "Expires: 2\r\n"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    m_states.clear();

    const QByteArray refresh = m_peer.Receive(2500);
    ASSERT_FALSE(refresh.isEmpty());
    EXPECT_EQ(HeaderOf(refresh, "CSeq"), "2 REGISTER");
    EXPECT_EQ(HeaderOf(refresh, "Expires"), "1800");
    SendToClient(
        ResponseTo(refresh, "401 Unauthorized", "WWW-Authenticate: Digest realm=\"r\",nonce=\"n\"\r\n"));
    const QByteArray authorized = m_peer.Receive();
    EXPECT_EQ(HeaderOf(authorized, "CSeq"), "3 REGISTER");
    EXPECT_TRUE(authorized.contains("\r\nAuthorization: Digest username=\"101\""));
    SendToClient(ResponseTo(authorized, "200 OK", "Expires: 2\r\n"));
    PumpEvents(200);
    EXPECT_TRUE(m_states.empty()) << "a refresh changes no state";
    EXPECT_EQ(m_registeredEvents, 1);

    // A refused refresh shows as not registered.
    const QByteArray next = m_peer.Receive(2500);
    ASSERT_FALSE(next.isEmpty());
    SendToClient(ResponseTo(next, "403 Forbidden"));
    ASSERT_TRUE(WaitUntil([this] { return !m_client.Registered(); }));
    EXPECT_EQ(m_client.State(), TSIPClient::Disconnected);
}

TEST_F(RegistrationOnTheWire, StrayResponsesAndKeepAlivesAreNotAnswered)
{
    Register();
    SendToClient(
        "SIP/2.0 200 OK\r\nVia: SIP/2.0/UDP x\r\nCall-ID: other\r\nCSeq: 1 BYE\r\nContent-Length: 0\r\n\r\n");
    SendToClient("Cirpack KeepAlive Packet");
    SendToClient(
        ResponseTo("X\r\nCall-ID: " + m_client.CallId() + "\r\nCSeq: 1 REGISTER\r\n\r\n", "299 Odd"));
    EXPECT_TRUE(m_peer.Receive(400).isEmpty());
    EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    EXPECT_TRUE(m_states.empty());
}

TEST_F(RegistrationOnTheWire, BadStatusLineRaisesInvalidResponse)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    const QByteArray request = m_peer.Receive();
    QByteArray bad = ResponseTo(request, "200 OK");
    bad.replace("SIP/2.0 200", "SIP/2.0 999");
    SendToClient(bad);
    ASSERT_TRUE(WaitUntil([this] { return m_errorEvents == 1; }));
    EXPECT_EQ(m_client.ErrorCode(), SIP_INVALID_RESPONSE);
    EXPECT_EQ(m_client.State(), TSIPClient::Registering);
}

TEST_F(RegistrationOnTheWire, RefreshRunsDuringACallWithoutTouchingIt)
{
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    SendToClient(ResponseTo(m_peer.Receive(), "200 OK", "Expires: 2\r\n"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(ResponseTo(invite, "200 OK", {}, "c=IN IP4 127.0.0.1\r\nm=audio 7000 RTP/AVP 8\r\n"));
    EXPECT_TRUE(m_peer.Receive().startsWith("ACK "));
    ASSERT_EQ(m_client.State(), TSIPClient::Connected);
    m_states.clear();

    // The refresh falls due during the call and goes out at once in its own transaction.
    const QByteArray refresh = m_peer.Receive(1800);
    EXPECT_TRUE(refresh.startsWith("REGISTER sip:127.0.0.1 SIP/2.0\r\n"));
    EXPECT_EQ(HeaderOf(refresh, "CSeq"), "3 REGISTER");
    EXPECT_EQ(HeaderOf(refresh, "To"), "101 <sip:101@127.0.0.1>");
    SendToClient(ResponseTo(refresh, "200 OK", "Expires: 60\r\n"));
    PumpEvents(100);
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
    EXPECT_TRUE(m_states.empty());

    m_client.Hangup();
    const QByteArray bye = m_peer.Receive();
    EXPECT_TRUE(bye.startsWith("BYE sip:102@127.0.0.1 SIP/2.0\r\n"));
    EXPECT_EQ(HeaderOf(bye, "CSeq"), "4 BYE");
    SendToClient(ResponseTo(bye, "200 OK"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    EXPECT_EQ(m_callEndEvents, 1);
}
