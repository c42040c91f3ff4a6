#include "SoftphoneTestSupport.h"
#include "platform/audio/AudioFormat.h"
#include "platform/audio/FakeAudioSystem.h"
#include "softphone/ALawCodec.h"
#include "softphone/RtpPacket.h"
#include "softphone/TPCMA.h"
#include "softphone/TRTCPClient.h"

#include <QElapsedTimer>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Our RTP, RTCP and headset against a loopback peer that receives on an RTP/RTCP
// port pair and sends RTP to us.
class MediaStream : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_rtp.SetLocalPort(FreeUdpPortPair());
        const quint16 peerPort = FreeUdpPortPair();
        m_peerRtp = std::make_unique<LoopbackPeer>(peerPort);
        m_peerRtcp = std::make_unique<LoopbackPeer>(peerPort + 1);
        m_pcma.SetOutputDevice(AudioFormat::DefaultDevice);
        m_pcma.SetInputDevice(AudioFormat::DefaultDevice);
        QObject::connect(&m_pcma, &TPCMA::OnStatus, &m_pcma,
                         [this](int status, int) { m_statuses.push_back(status); });
        ASSERT_TRUE(m_rtcp.Start("101", "127.0.0.1", peerPort));
    }

    void TearDown() override { m_pcma.Stop(); }

    // An RTP packet of payload type 8 from the peer to us.
    void SendToUs(const QByteArray& payload, quint16 sequence, quint8 secondByte = 8)
    {
        QByteArray packet(12, '\0');
        packet[0] = char(0x80);
        packet[1] = char(secondByte);
        qToBigEndian<quint16>(sequence, packet.data() + 2);
        qToBigEndian<quint32>(0x5EED, packet.data() + 8);
        m_peerRtp->Send(packet + payload, m_rtp.LocalPort());
    }

    int count(int status) const { return int(std::count(m_statuses.begin(), m_statuses.end(), status)); }

    FakeAudioSystem m_audio;
    TRTPClient m_rtp;
    TRTCPClient m_rtcp{m_rtp};
    TPCMA m_pcma{m_audio};
    std::unique_ptr<LoopbackPeer> m_peerRtp;
    std::unique_ptr<LoopbackPeer> m_peerRtcp;
    std::vector<int> m_statuses;
};

QByteArray toneAlaw(int bytes)
{
    QByteArray alaw(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        alaw[i] = char(ALawCodec::EncodeSample(qint16((i % 16) * 1000 - 8000)));
    return alaw;
}

} // namespace

TEST_F(MediaStream, FirstPacketIsAnEmptyRtpAfterTheFirstReport)
{
    m_rtcp.SendFirst();
    const QByteArray report = m_peerRtcp->Receive();
    EXPECT_EQ(quint8(report[1]), 200);
    EXPECT_EQ(report.size() % 4, 0);
    const QByteArray first = m_peerRtp->Receive();
    ASSERT_EQ(first.size(), 12);
    const auto packet = RtpPacket::Parse(first);
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->payloadType, 8);
    EXPECT_EQ(packet->sequenceNumber, 0);
    EXPECT_EQ(packet->ssrc, m_rtp.Ssrc());
}

TEST_F(MediaStream, ReportsEvery150PacketsAndTimestampsCountSamples)
{
    for (int i = 0; i < 151; ++i)
        m_rtcp.SendRTP(8, QByteArray(240, '\xD5'));
    int reports = 0;
    while (!m_peerRtcp->Receive(200).isEmpty())
        ++reports;
    EXPECT_EQ(reports, 2);
    std::vector<RtpPacket> packets;
    for (QByteArray datagram; !(datagram = m_peerRtp->Receive(200)).isEmpty();)
        packets.push_back(*RtpPacket::Parse(datagram));
    ASSERT_EQ(packets.size(), 151u);
    EXPECT_EQ(packets[1].timestamp - packets[0].timestamp, 240u);
    EXPECT_EQ(packets[150].sequenceNumber, 150);
    EXPECT_FALSE(packets[0].marker);
}

TEST_F(MediaStream, StopSendsTheReportWithBye)
{
    m_rtcp.SendFirst();
    m_peerRtcp->Receive();
    m_rtcp.Stop();
    const QByteArray last = m_peerRtcp->Receive();
    EXPECT_EQ(quint8(last[last.size() - 11]), 203);
    EXPECT_TRUE(last.endsWith(QByteArray("\003BYE", 4)));
}

TEST_F(MediaStream, PacketsOf160BytesPlayWithTheRestCarriedOver)
{
    m_pcma.Start(&m_rtcp);
    const QByteArray alaw = toneAlaw(480);
    for (int i = 0; i < 3; ++i)
        SendToUs(alaw.mid(i * 160, 160), quint16(i), i == 0 ? 0x88 : 8); // first one with the marker
    ASSERT_TRUE(WaitUntil([this] { return count(TPCMA::BufferQueued) == 2; }));
    m_pcma.Stop();
    EXPECT_EQ(m_audio.lastPlayback()->played(), ALawCodec::DecodeALaw(alaw));
    EXPECT_EQ(count(TPCMA::PacketArrived), 3);
    EXPECT_EQ(m_rtcp.RemoteSsrc(), 0x5EEDu);
}

TEST_F(MediaStream, OtherPayloadTypesAndEmptyPacketsAreRejected)
{
    m_pcma.Start(&m_rtcp);
    SendToUs(toneAlaw(240), 1, 0); // PCMU
    SendToUs({}, 2);
    SendToUs("garbage", 3, 0x7F);
    ASSERT_TRUE(WaitUntil([this] { return count(TPCMA::PacketRejected) == 3; }));
    EXPECT_EQ(count(TPCMA::BufferQueued), 0);
}

TEST_F(MediaStream, FullRingDropsLateAudio)
{
    m_pcma.Start(&m_rtcp);
    SendToUs(toneAlaw(240), 0); // once it is queued the output exists
    ASSERT_TRUE(WaitUntil([this] { return count(TPCMA::BufferQueued) == 1; }));
    m_audio.lastPlayback()->setStalled(true);
    for (int i = 1; i < 22; ++i)
        SendToUs(toneAlaw(240), quint16(i));
    ASSERT_TRUE(WaitUntil([this] { return count(TPCMA::PacketArrived) == 22; }));
    PumpEvents(50);
    // The first buffer was played before the stall; then 20 fill the ring and the
    // last packet finds its buffer still playing.
    EXPECT_EQ(count(TPCMA::BufferQueued), 21);
    EXPECT_EQ(count(TPCMA::OutputBusy), 1);
}

TEST_F(MediaStream, MicrophoneGoesOutOnlyWhileTransmitting)
{
    QByteArray tone;
    for (int i = 0; i < 240; ++i) {
        const qint16 sample = qToLittleEndian<qint16>(qint16(i * 50));
        tone.append(reinterpret_cast<const char*>(&sample), 2);
    }
    m_audio.setMicrophoneSignal(tone);
    m_pcma.Start(&m_rtcp);
    ASSERT_TRUE(m_pcma.OpenInput());
    m_audio.openInput()->deliverBuffers(3);
    EXPECT_TRUE(m_peerRtp->Receive(200).isEmpty()) << "nothing leaves before the call is connected";

    m_pcma.SetTransmitting(true);
    m_audio.openInput()->deliverBuffers(3);
    for (int i = 0; i < 3; ++i) {
        const auto packet = RtpPacket::Parse(m_peerRtp->Receive());
        ASSERT_TRUE(packet);
        EXPECT_EQ(packet->payload, ALawCodec::EncodeALaw(tone));
    }
}

TEST_F(MediaStream, StopEndsThePlaybackThreadPromptly)
{
    m_pcma.Start(&m_rtcp);
    ASSERT_TRUE(WaitUntil([this] { return count(TPCMA::PlaybackStarted) == 1; }));
    QElapsedTimer clock;
    clock.start();
    m_pcma.Stop();
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_FALSE(m_pcma.IsRunning());
    ASSERT_TRUE(WaitUntil([this] { return count(TPCMA::PlaybackEnding) == 1; }));
}

TEST(MediaDevices, UnsetDeviceEndsPlaybackAtOnce)
{
    FakeAudioSystem audio;
    TRTPClient rtp;
    rtp.SetLocalPort(FreeUdpPortPair());
    TRTCPClient rtcp(rtp);
    ASSERT_TRUE(rtcp.Start("101", "127.0.0.1", FreeUdpPortPair()));
    TPCMA pcma(audio); // devices are -2 until the host sets them
    std::vector<int> statuses;
    QObject::connect(&pcma, &TPCMA::OnStatus, &pcma, [&](int status, int) { statuses.push_back(status); });
    pcma.Start(&rtcp);
    ASSERT_TRUE(WaitUntil([&] { return statuses.size() == 2; }));
    EXPECT_EQ(statuses, (std::vector<int>{TPCMA::PlaybackStarted, TPCMA::PlaybackEnding}));
    EXPECT_EQ(pcma.OutputError(), QByteArray("Impossible d'acc\xE9"
                                             "der au micro"));
    EXPECT_FALSE(pcma.OpenInput());
}
