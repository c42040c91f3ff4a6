#include "SipClientFixture.h"

using FinalAnswersOnTheWire = SipClientFixture;

namespace {

const QByteArray answerSdp = "v=0\r\nc=IN IP4 127.0.0.1\r\nm=audio 7000 RTP/AVP 8\r\n";

QByteArray withCalleeTag(QByteArray response)
{
    return response.replace("To: <sip:102@127.0.0.1>", "To: <sip:102@127.0.0.1>;tag=callee");
}

QByteArray cseqNumberOf(const QByteArray& message)
{
    return HeaderOf(message, "CSeq").split(' ').first();
}

} // namespace

TEST_F(FinalAnswersOnTheWire, EveryRefusalIsAcknowledgedInItsTransactionAndEndsTheCallOnce)
{
    Register();
    const std::pair<QByteArray, int> refusals[] = {{"302 Moved Temporarily", TSIPClient::CallFailed},
                                                   {"404 Not Found", TSIPClient::CallFailed},
                                                   {"408 Request Timeout", TSIPClient::CallFailed},
                                                   {"480 Temporarily Unavailable", TSIPClient::Unavailable},
                                                   {"484 Address Incomplete", TSIPClient::CallFailed},
                                                   {"488 Not Acceptable Here", TSIPClient::CallFailed},
                                                   {"503 Service Unavailable", TSIPClient::CallFailed},
                                                   {"603 Decline", TSIPClient::CallFailed}};
    int ends = 0;
    for (const auto& [status, state] : refusals) {
        SCOPED_TRACE(status.constData());
        m_client.Call("102");
        const QByteArray invite = m_peer.Receive();
        ASSERT_TRUE(invite.startsWith("INVITE ")) << "the phone takes the next call";
        SendToClient(withCalleeTag(ResponseTo(invite, "180 Ringing")));
        ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ringing; }));
        const QByteArray refusal = withCalleeTag(ResponseTo(invite, status));
        SendToClient(refusal);
        const QByteArray ack = m_peer.Receive();
        EXPECT_EQ(ack, "ACK sip:102@127.0.0.1 SIP/2.0\r\n"
                       "Via: " +
                           HeaderOf(invite, "Via") + "\r\n" + "From: " + HeaderOf(invite, "From") +
                           "\r\n"
                           "To: <sip:102@127.0.0.1>;tag=callee\r\n"
                           "Call-ID: " +
                           m_client.CallId() + "\r\nCSeq: " + cseqNumberOf(invite) +
                           " ACK\r\n"
                           "Max-Forwards: 70\r\n"
                           "Content-Length: 0\r\n\r\n");
        EXPECT_EQ(m_client.State(), state);
        EXPECT_EQ(m_client.LastReason(), status);
        EXPECT_EQ(m_callEndEvents, ++ends);

        // The refusal again: the same ACK, and nothing else changes.
        const std::vector<int> statesBefore = m_states;
        SendToClient(refusal);
        EXPECT_EQ(m_peer.Receive(), ack);
        PumpEvents(50);
        EXPECT_EQ(m_callEndEvents, ends);
        EXPECT_EQ(m_states, statesBefore);
    }
    // Incoming calls ring as well after a failed one.
    m_client.SetAcceptIncoming(true);
    SendToClient(IncomingInvite("after-failure"));
    EXPECT_TRUE(m_peer.Receive().startsWith("SIP/2.0 180 RINGING\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::Incoming);
}

TEST_F(FinalAnswersOnTheWire, HangupBeforeAnyAnswerCancelsOnceTheCallProceeds)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    m_client.Hangup();
    EXPECT_EQ(m_client.State(), TSIPClient::CallFailed);
    EXPECT_EQ(m_callEndEvents, 1);
    // Nothing may be cancelled before a provisional answer (the INVITE is resent).
    for (QByteArray sent = m_peer.Receive(150); !sent.isEmpty(); sent = m_peer.Receive(150))
        EXPECT_TRUE(sent.startsWith("INVITE ")) << sent.left(40).constData();
    SendToClient(ResponseTo(invite, "100 Trying"));
    const QByteArray cancel = m_peer.Receive();
    EXPECT_TRUE(cancel.startsWith("CANCEL sip:102@127.0.0.1 SIP/2.0\r\n")) << cancel.constData();
    EXPECT_EQ(HeaderOf(cancel, "Via"), HeaderOf(invite, "Via"));
    // The callee answers all the same: acknowledged and ended.
    SendToClient(
        withCalleeTag(ResponseTo(invite, "200 OK", "Contact: <sip:callee@127.0.0.1:7777>\r\n", answerSdp)));
    const QByteArray ack = m_peer.Receive();
    EXPECT_TRUE(ack.startsWith("ACK sip:callee@127.0.0.1:7777 SIP/2.0\r\n")) << ack.constData();
    const QByteArray bye = m_peer.Receive();
    EXPECT_TRUE(bye.startsWith("BYE sip:callee@127.0.0.1:7777 SIP/2.0\r\n")) << bye.constData();
    EXPECT_EQ(HeaderOf(bye, "To"), "<sip:102@127.0.0.1>;tag=callee");
    EXPECT_EQ(m_client.State(), TSIPClient::CallFailed);
    EXPECT_EQ(m_callEndEvents, 1);
}

TEST_F(FinalAnswersOnTheWire, AnswerRacingOurCancelIsAcknowledgedAndEndedWithBye)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(withCalleeTag(ResponseTo(invite, "180 Ringing")));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ringing; }));
    m_client.Hangup();
    const QByteArray cancel = m_peer.Receive();
    ASSERT_TRUE(cancel.startsWith("CANCEL "));
    SendToClient(ResponseTo(cancel, "200 OK"));
    SendToClient(
        withCalleeTag(ResponseTo(invite, "200 OK", "Contact: <sip:callee@127.0.0.1:7777>\r\n", answerSdp)));
    const QByteArray ack = m_peer.Receive();
    EXPECT_TRUE(ack.startsWith("ACK sip:callee@127.0.0.1:7777 SIP/2.0\r\n")) << ack.constData();
    EXPECT_EQ(cseqNumberOf(ack), cseqNumberOf(invite));
    EXPECT_NE(HeaderOf(ack, "Via"), HeaderOf(invite, "Via"));
    const QByteArray bye = m_peer.Receive();
    EXPECT_TRUE(bye.startsWith("BYE sip:callee@127.0.0.1:7777 SIP/2.0\r\n")) << bye.constData();
    EXPECT_EQ(cseqNumberOf(bye).toInt(), cseqNumberOf(invite).toInt() + 1);
    EXPECT_EQ(m_client.State(), TSIPClient::CallFailed);
    EXPECT_EQ(m_callEndEvents, 1);
    SendToClient(ResponseTo(bye, "200 OK"));
    PumpEvents(50);
    EXPECT_EQ(m_client.State(), TSIPClient::CallFailed);
    EXPECT_EQ(m_callEndEvents, 1);
}

TEST_F(FinalAnswersOnTheWire, CancelWithoutAFinalAnswerEndsTheAttemptAfterTheTimeOut)
{
    m_client.SetRetransmitT1(10);
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(ResponseTo(invite, "180 Ringing"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ringing; }));
    m_client.Hangup();
    const QByteArray cancel = m_peer.Receive();
    SendToClient(ResponseTo(cancel, "200 OK"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::CallFailed; }, 3000));
    EXPECT_EQ(m_client.LastReason(), "408 Request Timeout");
    EXPECT_EQ(m_callEndEvents, 1);
}

TEST_F(FinalAnswersOnTheWire, ByeEndsTheCallWhateverItsAnswerOrNone)
{
    m_client.SetRetransmitT1(10);
    Register();
    for (const QByteArray& answer : {QByteArray("481 Call/Transaction Does Not Exist"), QByteArray()}) {
        SCOPED_TRACE(answer.isEmpty() ? "no answer" : answer.constData());
        m_callEndEvents = 0;
        m_client.Call("102");
        const QByteArray invite = m_peer.Receive();
        SendToClient(withCalleeTag(ResponseTo(invite, "200 OK", {}, answerSdp)));
        ASSERT_TRUE(m_peer.Receive().startsWith("ACK "));
        m_client.Hangup();
        const QByteArray bye = m_peer.Receive();
        ASSERT_TRUE(bye.startsWith("BYE "));
        if (!answer.isEmpty())
            SendToClient(ResponseTo(bye, answer));
        ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 3000));
        EXPECT_EQ(m_callEndEvents, 1);
        while (!m_peer.Receive(50).isEmpty()) {
        }
    }
}

TEST_F(FinalAnswersOnTheWire, ByesCrossingEndTheCallAndAByeOutsideACallGets481)
{
    Register();
    m_client.Call("102");
    const QByteArray invite = m_peer.Receive();
    SendToClient(withCalleeTag(ResponseTo(invite, "200 OK", {}, answerSdp)));
    m_peer.Receive(); // ACK
    m_client.Hangup();
    ASSERT_TRUE(m_peer.Receive().startsWith("BYE "));
    const QByteArray theirBye =
        "BYE sip:101@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:5999;branch=z9hG4bKx\r\n"
        "From: <sip:102@127.0.0.1>;tag=callee\r\nTo: " +
        HeaderOf(invite, "From") + "\r\nCall-ID: " + m_client.CallId() +
        "\r\nCSeq: 9 BYE\r\nContent-Length: 0\r\n\r\n";
    SendToClient(theirBye);
    EXPECT_TRUE(m_peer.Receive().startsWith("SIP/2.0 200 OK\r\n"));
    EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    EXPECT_EQ(m_callEndEvents, 1);

    // The same BYE once the call is gone.
    SendToClient(theirBye);
    QByteArray answer = m_peer.Receive();
    while (answer.startsWith("BYE "))
        answer = m_peer.Receive(); // our own BYE, resent until answered
    EXPECT_TRUE(answer.startsWith("SIP/2.0 481 Call/Transaction Does Not Exist\r\n")) << answer.constData();
    EXPECT_EQ(m_callEndEvents, 1);
}
