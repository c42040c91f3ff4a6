#include "SippProcess.h"

#include "SoftphoneUnderTest.h"

#include "support/peers/RealPeers.h"
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString& pcapPath()
{
    static const QString path = SippProcess::AlawRecording();
    return path;
}

// The softphone with its media on a fake headset, calling and called by sipp.
class CallsWithSipp : public SoftphoneUnderTest
{
protected:
    void SetUp() override
    {
        if (SippProcess::Executable().isEmpty())
            TAXI_SKIP_WITHOUT_PEER(
                "sipp is not installed (package sip-tester): calls against sipp not tested");
        if (pcapPath().isEmpty())
            TAXI_SKIP_WITHOUT_PEER("sipp's g711a.pcap is missing: calls against sipp not tested");
        PreparePhone();
        QObject::connect(&m_client, &TSIPClient::OnStateChange, &m_client, [this](TSIPClient* sender) {
            m_states.push_back(sender->State());
            if (sender->State() == TSIPClient::Incoming && m_onIncoming)
                QTimer::singleShot(0, &m_client, m_onIncoming);
        });
    }

    // Registers with a sipp registrar that then ends, and accepts incoming calls.
    void RegisterAndAcceptCalls()
    {
        SippProcess registrar(QStringLiteral("register_ok.xml"), m_serverPort);
        ASSERT_TRUE(registrar.Start()) << registrar.Report().toStdString();
        ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
        ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000));
        ASSERT_TRUE(registrar.Succeeded()) << registrar.Report().toStdString();
        m_client.SetAcceptIncoming(true);
    }

    // A sipp caller ringing the softphone; afterRinging names a file of after_ringing/,
    // whileRinging one of while_ringing/.
    SippProcess Caller(const QString& afterRinging, quint16 offeredRtpPort,
                       const QString& padding = QStringLiteral("-"), const QString& whileRinging = {})
    {
        return SippProcess(
            QStringLiteral("uac_call.xml"), FreeUdpPort(),
            {QStringLiteral("127.0.0.1:%1").arg(m_sipPort), QStringLiteral("-mp"),
             QString::number(FreeUdpPortPair())},
            {{QStringLiteral("WHILE_RINGING"),
              whileRinging.isEmpty() ? QString() : QStringLiteral("file:while_ringing/") + whileRinging},
             {QStringLiteral("AFTER_RINGING"), QStringLiteral("file:after_ringing/") + afterRinging},
             {QStringLiteral("RTP_PORT"), QString::number(offeredRtpPort)},
             {QStringLiteral("PADDING"), padding},
             {QStringLiteral("PCAP"), pcapPath()}});
    }

    qint64 playedBytes() const { return m_audio.lastPlayback() ? m_audio.lastPlayback()->writtenBytes() : 0; }

    std::vector<int> m_states;
    std::function<void()> m_onIncoming;
};

} // namespace

TEST_F(CallsWithSipp, OutgoingCallIsAnsweredWithPcmaAudioAndHungUp)
{
    SippProcess callee(QStringLiteral("uas_answer_with_audio.xml"), m_serverPort,
                       {QStringLiteral("-mp"), QString::number(FreeUdpPortPair())},
                       {{QStringLiteral("PCAP"), pcapPath()}});
    ASSERT_TRUE(callee.Start()) << callee.Report().toStdString();
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000));
    m_client.Call("102");
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Connected; }, 5000))
        << callee.Report().toStdString();
    EXPECT_TRUE(m_media.MediaRunning());
    EXPECT_TRUE(m_pcma.Transmitting());
    // One second of sipp's recording reaches the headset.
    EXPECT_TRUE(WaitUntil([this] { return playedBytes() >= AudioFormat::BytesPerSecond; }, 8000))
        << "played " << playedBytes();
    m_client.Hangup();
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000));
    EXPECT_EQ(m_callEnds, 1);
    EXPECT_FALSE(m_media.MediaRunning());
    EXPECT_TRUE(callee.Succeeded()) << callee.Report().toStdString();
}

TEST_F(CallsWithSipp, BusyCalleeGives486AndIsAcknowledged)
{
    SippProcess callee(QStringLiteral("uas_busy.xml"), m_serverPort);
    ASSERT_TRUE(callee.Start()) << callee.Report().toStdString();
    ASSERT_TRUE(m_client.Connect("101", "127.0.0.1", "101", "secret"));
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Ready; }, 5000));
    m_client.Call("102");
    ASSERT_TRUE(WaitUntil([this] { return m_client.State() == TSIPClient::Unavailable; }, 5000));
    EXPECT_TRUE(callee.Succeeded()) << callee.Report().toStdString();
}

TEST_F(CallsWithSipp, IncomingCallIsAutoAnsweredWithAudio)
{
    RegisterAndAcceptCalls();
    m_onIncoming = [this] { m_client.Answer(); };
    SippProcess caller = Caller(QStringLiteral("answered.xml"), FreeUdpPortPair());
    ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
    EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::RemoteHungUp);
    EXPECT_GT(playedBytes(), 0);
    EXPECT_EQ(m_client.SessionCount(), 0);
    EXPECT_EQ(m_callEnds, 1);
}

TEST_F(CallsWithSipp, CallerCancelling)
{
    RegisterAndAcceptCalls();
    SippProcess caller = Caller(QStringLiteral("cancelled.xml"), FreeUdpPortPair());
    ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
    EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::Missed);
    EXPECT_EQ(m_client.CallKind(), TSIPClient::MissedCall);
    EXPECT_EQ(m_callEnds, 1);
}

TEST_F(CallsWithSipp, RejectedCallSendsNoRtpAfterThe486)
{
    RegisterAndAcceptCalls();
    LoopbackPeer callerMedia(FreeUdpPortPair());
    bool rejected = false;
    m_onIncoming = [&] {
        // While it rings the microphone stays private: only the empty opening packet.
        while (!callerMedia.Receive(100).isEmpty()) {
        }
        if (m_audio.openInput())
            m_audio.openInput()->deliverBuffers(5);
        EXPECT_TRUE(callerMedia.Receive(200).isEmpty()) << "microphone audio left while ringing";
        m_client.Reject();
        rejected = true;
    };
    m_audio.setMicrophoneSignal(QByteArray(480, '\x10'));
    SippProcess caller = Caller(QStringLiteral("rejected.xml"), callerMedia.Port());
    ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
    ASSERT_TRUE(WaitUntil([&] { return rejected; }, 5000));
    if (m_audio.openInput())
        m_audio.openInput()->deliverBuffers(5);
    EXPECT_TRUE(callerMedia.Receive(800).isEmpty()) << "RTP after the 486";
    EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::Ready);
    EXPECT_EQ(m_client.SessionCount(), 0);
    EXPECT_EQ(m_callEnds, 1);
    EXPECT_FALSE(m_media.MediaRunning());
}

TEST_F(CallsWithSipp, OptionsWhileRingingLeavesTheCallAnswerable)
{
    RegisterAndAcceptCalls();
    bool optionsSeen = false;
    QObject::connect(&m_client, &TSIPClient::OnReceive, &m_client, [&](TSIPClient* sender) {
        optionsSeen = optionsSeen || sender->LastMessage().IsRequest("OPTIONS");
    });
    SippProcess caller = Caller(QStringLiteral("answered.xml"), FreeUdpPortPair(), QStringLiteral("-"),
                                QStringLiteral("options.xml"));
    ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
    ASSERT_TRUE(WaitUntil([&] { return optionsSeen; }, 5000)) << caller.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::Incoming);
    m_client.Answer();
    EXPECT_EQ(m_client.State(), TSIPClient::Connected);
    EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
    EXPECT_EQ(m_client.State(), TSIPClient::RemoteHungUp);
}

TEST_F(CallsWithSipp, LargeInviteStillRings)
{
    RegisterAndAcceptCalls();
    SippProcess caller =
        Caller(QStringLiteral("cancelled.xml"), FreeUdpPortPair(), QString(1300, QLatin1Char('p')));
    ASSERT_TRUE(caller.Start()) << caller.Report().toStdString();
    EXPECT_TRUE(caller.Succeeded()) << caller.Report().toStdString();
    EXPECT_NE(std::find(m_states.begin(), m_states.end(), TSIPClient::Incoming), m_states.end());
}
