#include "SipClientFixture.h"

using OutgoingCallOnTheWire = SipClientFixture;
using IncomingCallOnTheWire = SipClientFixture;

namespace {

const QByteArray answerSdp = "v=0\r\nc=IN IP4 127.0.0.1\r\nm=audio 7000 RTP/AVP 8\r\n";

} // namespace

TEST_F(OutgoingCallOnTheWire, InviteCarriesTheLocalSdpAndAnAnsweredCallHangsUpWithBye)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    EXPECT_TRUE(MatchesTemplate(invite, "INVITE sip:102@127.0.0.1 SIP/2.0\r\n"
                                        "Via: SIP/2.0/UDP " +
                                            Here() +
                                            ";rport;branch=z9hG4bK<HEX>\r\n"
                                            "From: 101 <sip:101@127.0.0.1>;tag=<N>\r\n"
                                            "To: <sip:102@127.0.0.1>\r\n"
                                            "Call-ID: <HEX>@127.0.0.1\r\n"
                                            "CSeq: 2 INVITE\r\n"
                                            "Max-Forwards: 70\r\n"
                                            "Contact: 101 <sip:101@" +
                                            Here() +
                                            ">\r\n"
                                            "Expires: 1800\r\n"
                                            "User-Agent: ZorVane-TAXI DISPETCHER Softphone\r\n"
                                            "Content-Type: application/sdp\r\n"
                                            "Content-Length: <N>\r\n\r\n"
                                            "v=0\r\n"
                                            "o=Vantelmor <N> <N> IN IP4 10.0.0.5\r\n"
                                            "s=SIP Call\r\n"
                                            "c=IN IP4 10.0.0.5\r\n"
                                            "t=0 0\r\n"
                                            "m=audio 5004 RTP/AVP 8\r\n"
                                            "b=AS:64\r\n"
                                            "a=rtpmap:8 PCMA/8000/1\r\n"
                                            "a=ptime:30\r\n"))
        << invite.constData();
    EXPECT_EQ(HeaderOf(invite, "Content-Length").toInt(), m_client.LocalSDP().size());

    SendToClient(ResponseTo(invite, "100 Trying"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Proceeding; }));
    QByteArray ringing = ResponseTo(invite, "180 Ringing");
    ringing.replace("To: <sip:102@127.0.0.1>", "To: <sip:102@127.0.0.1>;tag=callee");
    SendToClient(ringing);
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ringing; }));
    QByteArray ok = ResponseTo(invite, "200 OK", "Content-Type: application/sdp\r\n", answerSdp);
    ok.replace("To: <sip:102@127.0.0.1>", "To: <sip:102@127.0.0.1>;tag=callee");
    SendToClient(ok);
    const QByteArray ack = m_peer.Receive();
    EXPECT_TRUE(ack.startsWith("ACK sip:102@127.0.0.1 SIP/2.0\r\n"));
    EXPECT_EQ(HeaderOf(ack, "CSeq"), "2 ACK");
    // The ACK of a 2xx is a transaction of its own.
    EXPECT_NE(HeaderOf(ack, "Via"), HeaderOf(invite, "Via"));
    EXPECT_EQ(HeaderOf(ack, "To"), "<sip:102@127.0.0.1>;tag=callee");
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
    EXPECT_EQ(m_client.RemoteSDP(), answerSdp);
    EXPECT_EQ(m_remoteSdpEvents, 1);
    EXPECT_EQ(m_client.CallKind(), TSIPClient::OutgoingCall);

    m_client.Hangup();
    const QByteArray bye = m_peer.Receive();
    EXPECT_TRUE(bye.startsWith("BYE sip:102@127.0.0.1 SIP/2.0\r\n"));
    EXPECT_EQ(HeaderOf(bye, "CSeq"), "3 BYE");
    EXPECT_EQ(HeaderOf(bye, "To"), "<sip:102@127.0.0.1>;tag=callee");
    SendToClient(ResponseTo(bye, "200 OK"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    EXPECT_EQ(m_callEndEvents, 1);
    EXPECT_EQ(m_states, (std::vector<int>{3, 5, 7, 12, 13, 2}));
}

TEST_F(OutgoingCallOnTheWire, NumbersBecomeRequestUris)
{
    Register();
    const std::pair<QByteArray, QByteArray> cases[] = {{"sip:7@example.org", "sip:7@example.org"},
                                                       {"7@example.org", "sip:7@example.org"},
                                                       {"101", "sip:101@127.0.0.1"}};
    for (const auto& [number, uri] : cases) {
        m_client.Call(number);
        const QByteArray invite = m_peer.Receive();
        EXPECT_TRUE(invite.startsWith("INVITE " + uri + " SIP/2.0\r\n")) << invite.left(60).constData();
        EXPECT_EQ(m_client.DialledNumber(), number);
        SendToClient(ResponseTo(invite, "486 Busy here"));
        EXPECT_TRUE(m_peer.Receive().startsWith("ACK " + uri));
        EXPECT_EQ(m_client.State(), TSIPClient::Unavailable);
        m_client.Hangup();
        EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    }
}

TEST_F(OutgoingCallOnTheWire, ChallengedInviteIsAcknowledgedAndSentAgain)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(ResponseTo(invite, "407 Proxy Authentication Required",
                            "Proxy-Authenticate: Digest realm=\"r\",nonce=\"n\"\r\n"));
    const QByteArray ack = m_peer.Receive();
    EXPECT_TRUE(ack.startsWith("ACK "));
    EXPECT_EQ(HeaderOf(ack, "CSeq"), "2 ACK");
    EXPECT_EQ(HeaderOf(ack, "Via"), HeaderOf(invite, "Via"));
    const QByteArray second = m_peer.Receive();
    EXPECT_EQ(HeaderOf(second, "CSeq"), "3 INVITE");
    EXPECT_NE(HeaderOf(second, "Via"), HeaderOf(invite, "Via"));
    EXPECT_TRUE(second.contains("\r\nProxy-Authorization: Digest username=\"101\""));
    EXPECT_TRUE(second.contains("opaque=\"\"\r\nContent-Type: application/sdp\r\n"));
    EXPECT_TRUE(second.endsWith(m_client.LocalSDP()));
}

TEST_F(OutgoingCallOnTheWire, HangupWhileRingingCancelsAndEndsOn487)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(ResponseTo(invite, "180 Ringing"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ringing; }));
    m_client.Hangup();
    const QByteArray cancel = m_peer.Receive();
    EXPECT_TRUE(cancel.startsWith("CANCEL sip:102@127.0.0.1 SIP/2.0\r\n"));
    EXPECT_EQ(HeaderOf(cancel, "CSeq"), "2 CANCEL");
    EXPECT_EQ(HeaderOf(cancel, "Via"), HeaderOf(invite, "Via"));
    EXPECT_EQ(m_client.State(), TSIPClient::Cancelling);
    SendToClient(ResponseTo(cancel, "200 OK"));
    SendToClient(ResponseTo(invite, "487 Request Terminated"));
    EXPECT_TRUE(m_peer.Receive().startsWith("ACK "));
    EXPECT_EQ(m_client.State(), TSIPClient::CallFailed);
    EXPECT_EQ(m_callEndEvents, 1);
}

TEST_F(OutgoingCallOnTheWire, RemoteByeEndsTheCall)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(ResponseTo(invite, "200 OK", {}, answerSdp));
    m_peer.Receive(); // ACK
    QByteArray bye = "BYE sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKb\r\n"
                     "From: <sip:102@127.0.0.1>;tag=callee\r\nTo: " +
                     HeaderOf(invite, "From") + "\r\nCall-ID: " + m_client.CallId() +
                     "\r\nCSeq: 9 BYE\r\nContent-Length: 0\r\n\r\n";
    SendToClient(bye);
    const QByteArray ok = m_peer.Receive();
    EXPECT_TRUE(ok.startsWith(
        "SIP/2.0 200 OK\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKb;received=127.0.0.1\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::RemoteHungUp);
    EXPECT_EQ(m_callEndEvents, 1);
}

TEST_F(IncomingCallOnTheWire, RingsEchoingEveryViaAndIsAnsweredAndHungUp)
{
    Register();
    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("in-1", "Via: SIP/2.0/UDP 10.1.1.1;branch=z9hG4bKproxy\r\n"));
    const QByteArray ringing = m_peer.Receive();
    EXPECT_TRUE(MatchesTemplate(ringing,
                                "SIP/2.0 180 RINGING\r\n"
                                "Via: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKcaller;received=127.0.0.1\r\n"
                                "Via: SIP/2.0/UDP 10.1.1.1;branch=z9hG4bKproxy\r\n"
                                "From: \"102\" <sip:102@127.0.0.1;user=phone>;tag=caller1\r\n"
                                "To: <sip:101@127.0.0.1>;tag=<N>\r\n"
                                "Call-ID: in-1\r\n"
                                "Max-Forwards: 70\r\n"
                                "Expires: 1800\r\n"
                                "User-Agent: ZorVane-TAXI DISPETCHER Softphone\r\n"
                                "CSeq: 1 INVITE\r\n"
                                "Content-Length: 0\r\n\r\n"))
        << ringing.constData();
    EXPECT_EQ(m_client.State(), TSIPClient::Incoming);
    EXPECT_EQ(m_client.CallerId(), "\"102\" <sip:102@127.0.0.1>");
    EXPECT_TRUE(m_client.RemoteSDP().contains("m=audio 6000 RTP/AVP 8"));
    EXPECT_EQ(m_remoteSdpEvents, 1);

    // An unrelated request while ringing does not take the call away.
    SendToClient(
        "OPTIONS sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKo\r\n"
        "From: <sip:x@y>;tag=1\r\nTo: <sip:101@127.0.0.1>\r\nCall-ID: options-1\r\nCSeq: 1 OPTIONS\r\n"
        "Content-Length: 0\r\n\r\n");
    EXPECT_TRUE(m_peer.Receive().startsWith("SIP/2.0 200 OK\r\n"));

    m_client.Answer();
    const QByteArray ok = m_peer.Receive();
    EXPECT_TRUE(ok.startsWith("SIP/2.0 200 OK\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKcaller;"
                              "received=127.0.0.1\r\nVia: SIP/2.0/UDP 10.1.1.1;branch=z9hG4bKproxy\r\n"));
    EXPECT_TRUE(ok.contains("User-Agent: ZorVane-TAXI DISPETCHER Softphone\r\nCSeq:1 INVITE\r\n"
                            "Contact: 101 <sip:101@" +
                            Here() + ">\r\nContent-Type: application/sdp\r\n"));
    EXPECT_TRUE(ok.endsWith("\r\n\r\n" + m_client.LocalSDP()));
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
    EXPECT_EQ(m_client.PendingKind(), TSIPClient::PendingAnswered);
    // Without the ACK the 200 comes again.
    EXPECT_EQ(m_peer.Receive(), ok);
    SendToClient("ACK sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKack\r\n"
                 "Call-ID: in-1\r\nCSeq: 1 ACK\r\nContent-Length: 0\r\n\r\n");
    PumpEvents(50);
    while (!m_peer.Receive(10).isEmpty()) {
    }
    EXPECT_TRUE(m_peer.Receive(400).isEmpty()) << "the ACK stops the resending";

    m_client.Hangup();
    const QByteArray bye = m_peer.Receive();
    // The caller's Contact is the target, not its From.
    EXPECT_TRUE(MatchesTemplate(bye, "BYE sip:102@127.0.0.1:5999 SIP/2.0\r\n"
                                     "Via: SIP/2.0/UDP " +
                                         Here() +
                                         ";rport;branch=z9hG4bK<HEX>\r\n"
                                         "From: <sip:101@127.0.0.1>;tag=<N>\r\n"
                                         "To: \"102\" <sip:102@127.0.0.1;user=phone>;tag=caller1\r\n"
                                         "Call-ID: in-1\r\n"
                                         "CSeq: 1 BYE\r\n"
                                         "Max-Forwards: 70\r\n"
                                         "Expires: 1800\r\n"
                                         "User-Agent: ZorVane-TAXI DISPETCHER Softphone\r\n"
                                         "Content-Length: 0\r\n\r\n"))
        << bye.constData();
    SendToClient(ResponseTo(bye, "200 OK"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }));
    EXPECT_EQ(m_callEndEvents, 1);
    EXPECT_EQ(m_client.SessionCount(), 0);
}

TEST_F(IncomingCallOnTheWire, CallerCancellingGets200And487AndTheCallIsMissed)
{
    Register();
    m_client.SetAcceptIncoming(true);
    const QByteArray invite = IncomingInvite("in-2");
    SendToClient(invite);
    m_peer.Receive(); // 180
    QByteArray cancel = invite.left(invite.indexOf("Contact:"));
    cancel.replace("INVITE sip:", "CANCEL sip:").replace("CSeq: 1 INVITE", "CSeq: 1 CANCEL");
    SendToClient(cancel + "Content-Length: 0\r\n\r\n");
    const QByteArray cancelOk = m_peer.Receive();
    EXPECT_TRUE(cancelOk.startsWith("SIP/2.0 200 OK\r\n"));
    EXPECT_TRUE(cancelOk.contains("\r\nCSeq: 1 CANCEL\r\n"));
    const QByteArray terminated = m_peer.Receive();
    EXPECT_TRUE(terminated.startsWith("SIP/2.0 487 Request Terminated\r\n"));
    EXPECT_TRUE(terminated.contains("\r\nCSeq: 1 INVITE\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::Missed);
    EXPECT_EQ(m_client.CallKind(), TSIPClient::MissedCall);
    EXPECT_EQ(m_callEndEvents, 1);
    EXPECT_EQ(m_client.SessionCount(), 0);
    // The caller's ACK for the 487 gets no answer.
    SendToClient(
        "ACK sip:101@127.0.0.1 SIP/2.0\r\nCall-ID: in-2\r\nCSeq: 1 ACK\r\nContent-Length: 0\r\n\r\n");
    EXPECT_TRUE(m_peer.Receive(300).isEmpty());
}

TEST_F(IncomingCallOnTheWire, RejectSendsBusyEndsTheCallAndFreesTheSession)
{
    Register();
    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("in-3"));
    m_peer.Receive(); // 180
    m_client.Reject();
    const QByteArray busy = m_peer.Receive();
    EXPECT_TRUE(busy.startsWith("SIP/2.0 486 Busy here\r\n"));
    EXPECT_TRUE(busy.contains("\r\nCSeq: 1 INVITE\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    EXPECT_EQ(m_callEndEvents, 1);
    EXPECT_EQ(m_client.SessionCount(), 0);
    EXPECT_EQ(m_states, (std::vector<int>{15, 16, 2}));
}

TEST_F(IncomingCallOnTheWire, RetransmittedInviteGetsTheSameAnswerAgain)
{
    Register();
    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("in-4"));
    const QByteArray ringing = m_peer.Receive();
    SendToClient(IncomingInvite("in-4"));
    EXPECT_EQ(m_peer.Receive(), ringing);
    EXPECT_EQ(m_client.SessionCount(), 1);
}

// Whatever was received with this Call-ID, skipping the retransmitted 200 of the call.
QByteArray ReceiveFor(LoopbackPeer& peer, const QByteArray& callId)
{
    for (QByteArray message = peer.Receive(); !message.isEmpty(); message = peer.Receive())
        if (HeaderOf(message, "Call-ID") == callId)
            return message;
    return {};
}

TEST_F(IncomingCallOnTheWire, InvitesThePhoneCannotTakeAreRefusedBusyAtOnce)
{
    Register();
    SendToClient(IncomingInvite("in-5"));
    const QByteArray notAccepted = m_peer.Receive();
    const QByteArray to = HeaderOf(notAccepted, "To");
    EXPECT_TRUE(to.startsWith("<sip:101@127.0.0.1>;tag=")) << to.constData();
    EXPECT_GT(to.size(), QByteArray("<sip:101@127.0.0.1>;tag=").size());
    EXPECT_EQ(notAccepted, "SIP/2.0 486 Busy Here\r\n"
                           "Via: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKcaller;received=127.0.0.1\r\n"
                           "From: \"102\" <sip:102@127.0.0.1;user=phone>;tag=caller1\r\n"
                           "To: " +
                               to +
                               "\r\n"
                               "Call-ID: in-5\r\n"
                               "CSeq: 1 INVITE\r\n"
                               "Content-Length: 0\r\n\r\n");
    // The retransmitted INVITE gets the very same answer, and its ACK none.
    SendToClient(IncomingInvite("in-5"));
    EXPECT_EQ(m_peer.Receive(), notAccepted);
    SendToClient("ACK sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKcaller\r\n"
                 "Call-ID: in-5\r\nCSeq: 1 ACK\r\nContent-Length: 0\r\n\r\n");
    EXPECT_TRUE(m_peer.Receive(200).isEmpty());
    EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    EXPECT_EQ(m_client.SessionCount(), 0);

    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("in-6"));
    m_peer.Receive();
    m_client.Answer();
    m_peer.Receive();
    SendToClient(IncomingInvite("in-7"));
    EXPECT_TRUE(ReceiveFor(m_peer, "in-7").startsWith("SIP/2.0 486 Busy Here\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
    EXPECT_EQ(m_client.SessionCount(), 1);
    EXPECT_EQ(m_callEndEvents, 0);
}

TEST_F(IncomingCallOnTheWire, OfferWithoutPcmaGets488AndTheNextCallRings)
{
    Register();
    m_client.SetAcceptIncoming(true);
    QByteArray pcmuOnly = IncomingInvite("in-pcmu");
    pcmuOnly.replace("m=audio 6000 RTP/AVP 8\r\na=rtpmap:8 PCMA/8000",
                     "m=audio 6000 RTP/AVP 0\r\na=rtpmap:0 PCMU/8000");
    SendToClient(pcmuOnly);
    const QByteArray refused = m_peer.Receive();
    EXPECT_TRUE(refused.startsWith("SIP/2.0 488 Not Acceptable Here\r\n")) << refused.constData();
    EXPECT_TRUE(HeaderOf(refused, "To").contains(";tag="));
    EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    EXPECT_EQ(m_remoteSdpEvents, 0);

    SendToClient(IncomingInvite("in-pcma"));
    EXPECT_TRUE(m_peer.Receive().startsWith("SIP/2.0 180 RINGING\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::Incoming);
}

TEST_F(IncomingCallOnTheWire, LargeInviteStillRings)
{
    Register();
    m_client.SetAcceptIncoming(true);
    const QByteArray padding = "X-Padding: " + QByteArray(4000, 'p') + "\r\n";
    const QByteArray invite = IncomingInvite("in-big", {}, padding);
    ASSERT_GT(invite.size(), 4000);
    SendToClient(invite);
    EXPECT_TRUE(m_peer.Receive().startsWith("SIP/2.0 180 RINGING\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::Incoming);
}

TEST_F(IncomingCallOnTheWire, UnknownByeGets481)
{
    Register();
    SendToClient("BYE sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKz\r\n"
                 "From: <sip:102@x>;tag=a\r\nTo: <sip:101@x>;tag=b\r\nCall-ID: nobody\r\nCSeq: 5 BYE\r\n"
                 "Content-Length: 0\r\n\r\n");
    EXPECT_TRUE(MatchesTemplate(m_peer.Receive(),
                                "SIP/2.0 481 Call/Transaction Does Not Exist\r\n"
                                "Via: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKz;received=127.0.0.1\r\n"
                                "From: <sip:102@x>;tag=a\r\nTo: <sip:101@x>;tag=b\r\nCall-ID: nobody\r\n"
                                "CSeq: 5 BYE\r\nContent-Length: 0\r\n\r\n"));
}

TEST_F(IncomingCallOnTheWire, HangupWhileRingingOnlyEndsTheCallLocally)
{
    Register();
    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("in-8"));
    m_peer.Receive(); // 180
    m_client.Hangup();
    EXPECT_EQ(m_callEndEvents, 1);
    EXPECT_EQ(m_client.State(), TSIPClient::Incoming);
    EXPECT_TRUE(m_peer.Receive(300).isEmpty()) << "the caller keeps ringing";
    m_client.Reject(); // the host refuses it properly
    EXPECT_TRUE(m_peer.Receive().startsWith("SIP/2.0 486 Busy here\r\n"));
}

TEST_F(OutgoingCallOnTheWire, ReInviteInTheCallIsAnsweredWithTheLocalSdp)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(ResponseTo(invite, "200 OK", {}, answerSdp));
    m_peer.Receive(); // ACK
    SendToClient("INVITE sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKre\r\n"
                 "From: <sip:102@127.0.0.1>;tag=callee\r\nTo: <sip:101@127.0.0.1>;tag=1\r\nCall-ID: " +
                 m_client.CallId() + "\r\nCSeq: 10 INVITE\r\nContent-Length: 0\r\n\r\n");
    EXPECT_TRUE(MatchesTemplate(m_peer.Receive(),
                                "SIP/2.0 200 OK\r\n"
                                "Via:SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKre;received=127.0.0.1\r\n"
                                "From:<sip:102@127.0.0.1>;tag=callee\r\n"
                                "To:<sip:101@127.0.0.1>;tag=1\r\n"
                                "Call-ID:<HEX>@127.0.0.1\r\n"
                                "CSeq:10 INVITE\r\n"
                                "Contact: 101 <sip:101@" +
                                    Here() +
                                    ">\r\n"
                                    "Content-Type: application/sdp\r\n"
                                    "Content-Length: <N>\r\n\r\n" +
                                    m_client.LocalSDP()));
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
}
