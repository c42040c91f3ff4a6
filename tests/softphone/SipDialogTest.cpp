#include "SipClientFixture.h"

using DialogsOnTheWire = SipClientFixture;

namespace {

QByteArray sdpOn(int port, const QByteArray& payloads = "8")
{
    return "v=0\r\nc=IN IP4 127.0.0.1\r\nm=audio " + QByteArray::number(port) + " RTP/AVP " + payloads +
           "\r\n";
}

// A request of the caller inside the incoming call "in-d".
QByteArray callerRequest(const QByteArray& method, int cseq, const QByteArray& toLine,
                         const QByteArray& extraHeaders, const QByteArray& body = {})
{
    return method + " sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bK" + method +
           QByteArray::number(cseq) +
           "\r\n"
           "From: \"102\" <sip:102@127.0.0.1;user=phone>;tag=caller1\r\nTo: " +
           toLine + "\r\nCall-ID: in-d\r\nCSeq: " + QByteArray::number(cseq) + ' ' + method + "\r\n" +
           extraHeaders + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

TEST_F(DialogsOnTheWire, RecordRoutedAnswerSetsTheRouteSetAndItsContactIsTheTarget)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    QByteArray ok = ResponseTo(invite, "200 OK",
                               "Record-Route: <sip:10.9.9.2;lr>\r\nRecord-Route: <sip:10.9.9.1;lr>\r\n"
                               "Contact: <sip:102@10.9.9.7:5080>\r\n",
                               sdpOn(7000));
    ok.replace("To: <sip:102@127.0.0.1>", "To: <sip:102@127.0.0.1>;tag=callee");
    SendToClient(ok);
    const QByteArray ack = m_peer.Receive();
    EXPECT_TRUE(MatchesTemplate(ack, "ACK sip:102@10.9.9.7:5080 SIP/2.0\r\n"
                                     "Via: SIP/2.0/UDP " +
                                         Here() +
                                         ";rport;branch=z9hG4bK<HEX>\r\n"
                                         "From: 101 <sip:101@127.0.0.1>;tag=<N>\r\n"
                                         "To: <sip:102@127.0.0.1>;tag=callee\r\n"
                                         "Call-ID: <HEX>@127.0.0.1\r\n"
                                         "CSeq: 2 ACK\r\n"
                                         "Max-Forwards: 70\r\n"
                                         "Route: <sip:10.9.9.1;lr>\r\n"
                                         "Route: <sip:10.9.9.2;lr>\r\n"
                                         "Content-Length: 0\r\n\r\n"))
        << ack.constData();
    m_client.Hangup();
    const QByteArray bye = m_peer.Receive();
    EXPECT_TRUE(bye.startsWith("BYE sip:102@10.9.9.7:5080 SIP/2.0\r\n")) << bye.constData();
    EXPECT_TRUE(bye.contains("Max-Forwards: 70\r\nRoute: <sip:10.9.9.1;lr>\r\nRoute: <sip:10.9.9.2;lr>\r\n"
                             "Contact: 101 <sip:101@" +
                             Here() + ">\r\n"));
    EXPECT_EQ(HeaderOf(bye, "To"), "<sip:102@127.0.0.1>;tag=callee");
}

TEST_F(DialogsOnTheWire, IncomingRecordRouteIsEchoedAndOurByeFollowsIt)
{
    Register();
    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("in-rr", "Record-Route: <sip:10.9.9.1;lr>, <sip:10.9.9.2;lr>\r\n"));
    const QByteArray ringing = m_peer.Receive();
    EXPECT_TRUE(
        ringing.contains(";received=127.0.0.1\r\nRecord-Route: <sip:10.9.9.1;lr>, <sip:10.9.9.2;lr>\r\n"
                         "From: "))
        << ringing.constData();
    m_client.Answer();
    EXPECT_TRUE(m_peer.Receive().contains("\r\nRecord-Route: <sip:10.9.9.1;lr>, <sip:10.9.9.2;lr>\r\n"));
    m_client.Hangup();
    QByteArray bye = m_peer.Receive();
    while (bye.startsWith("SIP/2.0 200"))
        bye = m_peer.Receive(); // the 200 resent without an ACK
    EXPECT_TRUE(bye.startsWith("BYE sip:102@127.0.0.1:5999 SIP/2.0\r\n")) << bye.constData();
    EXPECT_TRUE(
        bye.contains("\r\nMax-Forwards: 70\r\nRoute: <sip:10.9.9.1;lr>\r\nRoute: <sip:10.9.9.2;lr>\r\n"
                     "Expires: 1800\r\n"))
        << bye.constData();
}

TEST_F(DialogsOnTheWire, ReInviteMovesTheMediaOnlyWhenItsAddressChangesAndUnplayableOffersGet488)
{
    Register();
    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("in-d"));
    const QByteArray ringing = m_peer.Receive();
    const QByteArray ourTo = HeaderOf(ringing, "To");
    m_client.Answer();
    m_peer.Receive();
    SendToClient(callerRequest("ACK", 1, ourTo, {}));
    PumpEvents(50);
    while (!m_peer.Receive(20).isEmpty()) {
    }
    ASSERT_EQ(m_remoteSdpEvents, 1);

    // The same address and port: answered, the audio goes on untouched.
    SendToClient(callerRequest("INVITE", 2, ourTo, "Content-Type: application/sdp\r\n", sdpOn(6000)));
    QByteArray answer = m_peer.Receive();
    EXPECT_TRUE(answer.startsWith("SIP/2.0 200 OK\r\n")) << answer.constData();
    EXPECT_TRUE(answer.contains("\r\nCSeq:2 INVITE\r\nContact: 101 <sip:101@" + Here() +
                                ">\r\nContent-Type: application/sdp\r\n"));
    EXPECT_TRUE(answer.endsWith(m_client.LocalSDP()));
    EXPECT_EQ(m_remoteSdpEvents, 1);

    // Another port: the media is told to move.
    SendToClient(callerRequest("INVITE", 3, ourTo, "Content-Type: application/sdp\r\n", sdpOn(6100, "0 8")));
    EXPECT_TRUE(m_peer.Receive().startsWith("SIP/2.0 200 OK\r\n"));
    EXPECT_EQ(m_remoteSdpEvents, 2);
    EXPECT_TRUE(m_client.RemoteSDP().contains("m=audio 6100 "));

    // Nothing we can play: refused, the call stays as it was.
    SendToClient(callerRequest("INVITE", 4, ourTo, "Content-Type: application/sdp\r\n", sdpOn(6200, "0")));
    answer = m_peer.Receive();
    EXPECT_TRUE(answer.startsWith("SIP/2.0 488 Not Acceptable Here\r\n")) << answer.constData();
    EXPECT_TRUE(answer.contains("\r\nCSeq: 4 INVITE\r\n"));
    EXPECT_EQ(m_remoteSdpEvents, 2);
    EXPECT_TRUE(m_client.RemoteSDP().contains("m=audio 6100 "));
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
}

TEST_F(DialogsOnTheWire, SessionRefreshInAnOutgoingCallIsAnsweredWithItsTimer)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    QByteArray ok = ResponseTo(invite, "200 OK", {}, sdpOn(7000));
    ok.replace("To: <sip:102@127.0.0.1>", "To: <sip:102@127.0.0.1>;tag=callee");
    SendToClient(ok);
    m_peer.Receive(); // ACK
    SendToClient("UPDATE sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKup\r\n"
                 "From: <sip:102@127.0.0.1>;tag=callee\r\nTo: " +
                 HeaderOf(invite, "From") + "\r\nCall-ID: " + m_client.CallId() +
                 "\r\nCSeq: 20 UPDATE\r\nSupported: timer\r\nSession-Expires: 120;refresher=uac\r\n"
                 "Content-Length: 0\r\n\r\n");
    const QByteArray answer = m_peer.Receive();
    EXPECT_TRUE(answer.startsWith("SIP/2.0 200 OK\r\n")) << answer.constData();
    EXPECT_TRUE(
        answer.contains("\r\nCSeq: 20 UPDATE\r\nSession-Expires: 120;refresher=uac\r\nRequire: timer\r\n"
                        "Content-Length: 0\r\n\r\n"))
        << answer.constData();
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
    EXPECT_EQ(m_remoteSdpEvents, 1);
}
