// The answers and requests real servers send and plain callers cannot be made to:
// every refusal of a dialled call, our CANCEL with and without an answer racing it,
// a refused BYE, a record-routed answer, in-dialog re-INVITE and session refresh,
// keep-alives, stray BYEs, and INVITEs the phone cannot take. sipp plays the other
// side; each case checks what the softphone sent, in order, the state it reached,
// and that it takes the next call.
#include "SippProcess.h"

#include "SoftphoneUnderTest.h"
#include "support/peers/RealPeers.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The first word of a request ("INVITE"), or the status code of a response ("486").
QByteArray kindOf(const QByteArray& message)
{
    if (message.startsWith("SIP/2.0 "))
        return message.mid(8, 3);
    return message.left(message.indexOf(' '));
}

class SipFlowsWithSipp : public SoftphoneUnderTest
{
protected:
    void SetUp() override
    {
        if (SippProcess::Executable().isEmpty())
            TAXI_SKIP_WITHOUT_PEER(
                "sipp is not installed (package sip-tester): SIP flows against sipp not tested");
        PreparePhone();
        m_client.SetRetransmitT1(100);
        QObject::connect(&m_client, &TSIPClient::OnSend, &m_client,
                         [this](TSIPClient* sender) { m_sent.push_back(sender->OutputBuffer()); });
        QObject::connect(&m_client, &TSIPClient::OnStateChange, &m_client, [this](TSIPClient* sender) {
            if (sender->State() == TSIPClient::Incoming && m_answerIncoming)
                QTimer::singleShot(0, &m_client, [this] { m_client.Answer(); });
        });
    }

    // The kinds of what the softphone sent since the last call, skipping REGISTER;
    // a message sent again right after itself (a retransmission) counts once.
    std::vector<QByteArray> sentKinds()
    {
        std::vector<QByteArray> kinds;
        QByteArray previous;
        for (const QByteArray& message : m_sent) {
            if (message != previous && kindOf(message) != "REGISTER")
                kinds.push_back(kindOf(message));
            previous = message;
        }
        m_sent.clear();
        return kinds;
    }

    const QByteArray* sentMessage(const QByteArray& kind) const
    {
        for (const QByteArray& message : m_sent)
            if (kindOf(message) == kind)
                return &message;
        return nullptr;
    }

    // sipp as registrar and called side, playing one of calls/.
    SippProcess Callee(const QString& scenario, const QMap<QString, QString>& substitutions = {})
    {
        return SippProcess(QStringLiteral("calls/") + scenario, m_serverPort,
                           {QStringLiteral("-mp"), QString::number(FreeUdpPortPair())}, substitutions);
    }

    // sipp calling or sending a request straight to the softphone.
    SippProcess Caller(const QString& scenario, const QMap<QString, QString>& substitutions = {})
    {
        return SippProcess(scenario, FreeUdpPort(),
                           {QStringLiteral("127.0.0.1:%1").arg(m_sipPort), QStringLiteral("-mp"),
                            QString::number(FreeUdpPortPair())},
                           substitutions);
    }

    SippProcess RingingCaller(const QString& afterRinging, quint16 offeredRtpPort,
                              const QMap<QString, QString>& more = {})
    {
        QMap<QString, QString> substitutions{
            {QStringLiteral("WHILE_RINGING"), QString()},
            {QStringLiteral("AFTER_RINGING"), QStringLiteral("file:after_ringing/") + afterRinging},
            {QStringLiteral("RTP_PORT"), QString::number(offeredRtpPort)},
            {QStringLiteral("PADDING"), QStringLiteral("-")}};
        substitutions.insert(more);
        return Caller(QStringLiteral("uac_call.xml"), substitutions);
    }

    // Registers with a sipp registrar that then ends, for calls that sipp makes.
    void RegisterWithARegistrarThatEnds()
    {
        SippProcess registrar(QStringLiteral("register_ok.xml"), m_serverPort);
        ASSERT_TRUE(registrar.Start()) << registrar.Report().toStdString();
        ConnectAndRegister();
        ASSERT_TRUE(registrar.Succeeded()) << registrar.Report().toStdString();
        m_sent.clear();
    }

    void ConnectAndRegister()
    {
        ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
        ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000));
        m_client.SetAcceptIncoming(true);
    }

    // Registers with the callee sipp and dials 102 through it.
    void Dial(SippProcess& callee)
    {
        ASSERT_TRUE(callee.Start()) << callee.Report().toStdString();
        ConnectAndRegister();
        m_sent.clear();
        m_client.Call("102");
    }

    bool waitForState(int state, int timeoutMs = 5000)
    {
        return WaitUntil([&] { return m_client.State() == state; }, timeoutMs);
    }

    // The scenarios end with one more dialled call that the callee refuses busy.
    void expectTheNextDialledCallIsTaken(SippProcess& callee)
    {
        m_client.Call("102");
        EXPECT_TRUE(callee.Succeeded()) << callee.Report().toStdString();
        EXPECT_EQ(m_client.State(), TSIPClient::Unavailable);
    }

    // A caller rings and cancels: the phone took the call.
    void expectAnIncomingCallRings()
    {
        int rang = 0;
        const QMetaObject::Connection counting =
            QObject::connect(&m_client, &TSIPClient::OnStateChange, &m_client,
                             [&](TSIPClient* sender) { rang += sender->State() == TSIPClient::Incoming; });
        m_answerIncoming = false;
        SippProcess caller = RingingCaller(QStringLiteral("cancelled.xml"), FreeUdpPortPair());
        ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
        EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
        EXPECT_EQ(rang, 1);
        EXPECT_EQ(m_client.State(), TSIPClient::Missed);
        QObject::disconnect(counting);
    }

    std::vector<QByteArray> m_sent;
    bool m_answerIncoming = true;
};

using Kinds = std::vector<QByteArray>;

} // namespace

TEST_F(SipFlowsWithSipp, EveryRefusalOfADialledCallEndsItAndTheNextCallGoesOut)
{
    const std::pair<const char*, int> refusals[] = {{"404 Not Found", TSIPClient::CallFailed},
                                                    {"486 Busy Here", TSIPClient::Unavailable},
                                                    {"503 Service Unavailable", TSIPClient::CallFailed},
                                                    {"603 Decline", TSIPClient::CallFailed}};
    for (const auto& [status, state] : refusals) {
        SCOPED_TRACE(status);
        m_callEnds = 0;
        SippProcess callee = Callee(QStringLiteral("refused_twice.xml"),
                                    {{QStringLiteral("STATUS"), QString::fromLatin1(status)}});
        Dial(callee);
        ASSERT_TRUE(WaitUntil([&] { return m_callEnds == 1; }, 5000)) << callee.Report().toStdString();
        EXPECT_EQ(m_client.State(), state);
        EXPECT_EQ(m_client.LastReason(), QByteArray(status));
        PumpEvents(300);
        EXPECT_EQ(m_callEnds, 1);
        ASSERT_NE(sentMessage("INVITE"), nullptr);
        ASSERT_NE(sentMessage("ACK"), nullptr);
        // The ACK of a refusal belongs to the INVITE's transaction.
        EXPECT_EQ(HeaderOf(*sentMessage("ACK"), "Via"), HeaderOf(*sentMessage("INVITE"), "Via"));
        EXPECT_EQ(sentKinds(), (Kinds{"INVITE", "ACK"}));

        m_client.Call("102");
        EXPECT_TRUE(callee.Succeeded()) << callee.Report().toStdString();
        EXPECT_EQ(m_client.State(), state);
        EXPECT_EQ(m_callEnds, 2);
        EXPECT_EQ(sentKinds(), (Kinds{"INVITE", "ACK"}));
        m_client.Close();
    }
}

TEST_F(SipFlowsWithSipp, CancelledCallEndsOn487)
{
    SippProcess callee = Callee(QStringLiteral("cancelled_by_us.xml"));
    Dial(callee);
    ASSERT_TRUE(waitForState(TSIPClient::Ringing)) << callee.Report().toStdString();
    m_client.Hangup();
    ASSERT_TRUE(waitForState(TSIPClient::CallFailed)) << callee.Report().toStdString();
    EXPECT_EQ(m_client.LastReason(), "487 Request Terminated");
    EXPECT_EQ(m_callEnds, 1);
    EXPECT_EQ(sentKinds(), (Kinds{"INVITE", "CANCEL", "ACK"}));
    expectTheNextDialledCallIsTaken(callee);
}

TEST_F(SipFlowsWithSipp, AnswerRacingOurCancelIsAcknowledgedAndEndedWithBye)
{
    SippProcess callee = Callee(QStringLiteral("answer_races_cancel.xml"));
    Dial(callee);
    ASSERT_TRUE(waitForState(TSIPClient::Ringing)) << callee.Report().toStdString();
    m_client.Hangup();
    ASSERT_TRUE(waitForState(TSIPClient::CallFailed)) << callee.Report().toStdString();
    EXPECT_EQ(m_callEnds, 1);
    PumpEvents(300);
    EXPECT_EQ(sentKinds(), (Kinds{"INVITE", "CANCEL", "ACK", "BYE"}));
    expectTheNextDialledCallIsTaken(callee);
    EXPECT_EQ(m_callEnds, 2);
}

TEST_F(SipFlowsWithSipp, RefusedByeStillEndsTheCall)
{
    SippProcess callee = Callee(QStringLiteral("bye_refused.xml"));
    Dial(callee);
    ASSERT_TRUE(waitForState(TSIPClient::Connected)) << callee.Report().toStdString();
    EXPECT_TRUE(m_media.MediaRunning());
    m_client.Hangup();
    ASSERT_TRUE(waitForState(TSIPClient::Ready)) << callee.Report().toStdString();
    EXPECT_EQ(m_callEnds, 1);
    EXPECT_FALSE(m_media.MediaRunning());
    EXPECT_EQ(sentKinds(), (Kinds{"INVITE", "ACK", "BYE"}));
    expectTheNextDialledCallIsTaken(callee);
}

TEST_F(SipFlowsWithSipp, RecordRoutedAnswerIsFollowedToItsContact)
{
    SippProcess callee = Callee(QStringLiteral("routed_answer.xml"));
    Dial(callee);
    ASSERT_TRUE(waitForState(TSIPClient::Connected)) << callee.Report().toStdString();
    m_client.Hangup();
    ASSERT_TRUE(waitForState(TSIPClient::Ready)) << callee.Report().toStdString();
    EXPECT_EQ(sentKinds(), (Kinds{"INVITE", "ACK", "BYE"}));
    expectTheNextDialledCallIsTaken(callee);
}

TEST_F(SipFlowsWithSipp, InviteDuringACallGetsBusyAtOnce)
{
    SippProcess callee = Callee(QStringLiteral("bye_refused.xml"));
    Dial(callee);
    ASSERT_TRUE(waitForState(TSIPClient::Connected)) << callee.Report().toStdString();
    sentKinds();
    SippProcess second = Caller(QStringLiteral("calls/invite_refused.xml"),
                                {{QStringLiteral("PAYLOADS"), QStringLiteral("8")},
                                 {QStringLiteral("EXPECTED"), QStringLiteral("486")}});
    ASSERT_TRUE(second.Start()) << second.Report().toStdString();
    EXPECT_TRUE(second.Succeeded()) << second.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
    EXPECT_EQ(sentKinds(), (Kinds{"486"}));
    m_client.Hangup();
    ASSERT_TRUE(waitForState(TSIPClient::Ready)) << callee.Report().toStdString();
    expectTheNextDialledCallIsTaken(callee);
}

TEST_F(SipFlowsWithSipp, ReInviteMovesTheMediaToTheNewPort)
{
    RegisterWithARegistrarThatEnds();
    const quint16 newPort = FreeUdpPortPair();
    SippProcess caller = RingingCaller(QStringLiteral("reinvited.xml"), FreeUdpPortPair(),
                                       {{QStringLiteral("NEW_RTP_PORT"), QString::number(newPort)}});
    ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return m_rtp.RemoteAddress().port == newPort; }, 5000))
        << caller.Report().toStdString();
    EXPECT_TRUE(m_media.MediaRunning());
    EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::RemoteHungUp);
    EXPECT_EQ(m_callEnds, 1);
    EXPECT_EQ(sentKinds(), (Kinds{"180", "200", "200", "200"}));
    expectAnIncomingCallRings();
}

TEST_F(SipFlowsWithSipp, SessionRefreshesAreAnsweredAndTheCallGoesOn)
{
    RegisterWithARegistrarThatEnds();
    const quint16 offered = FreeUdpPortPair();
    SippProcess caller = RingingCaller(QStringLiteral("session_refreshed.xml"), offered);
    ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
    EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::RemoteHungUp);
    EXPECT_EQ(m_callEnds, 1);
    EXPECT_EQ(sentKinds(), (Kinds{"180", "200", "200", "200", "200"}));
    expectAnIncomingCallRings();
}

TEST_F(SipFlowsWithSipp, KeepAliveStrayByeAndUnplayableOfferAreAnswered)
{
    RegisterWithARegistrarThatEnds();
    const std::pair<QString, QMap<QString, QString>> requests[] = {
        {QStringLiteral("calls/options.xml"), {}},
        {QStringLiteral("calls/unknown_bye.xml"), {}},
        {QStringLiteral("calls/invite_refused.xml"),
         {{QStringLiteral("PAYLOADS"), QStringLiteral("0")},
          {QStringLiteral("EXPECTED"), QStringLiteral("488")}}}};
    const Kinds answers[] = {{"200"}, {"481"}, {"488"}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(requests[i].first.toStdString());
        SippProcess peer = Caller(requests[i].first, requests[i].second);
        ASSERT_TRUE(peer.Start()) << peer.Report().toStdString();
        EXPECT_TRUE(peer.Succeeded()) << peer.Report().toStdString();
        EXPECT_EQ(sentKinds(), answers[i]);
        EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    }
    EXPECT_EQ(m_callEnds, 0);
    expectAnIncomingCallRings();
}
