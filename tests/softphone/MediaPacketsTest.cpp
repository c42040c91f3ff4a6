#include "softphone/RemoteSdp.h"
#include "softphone/RtcpCompoundPacket.h"
#include "softphone/RtcpCompoundReader.h"
#include "softphone/RtpPacket.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray rtpHeader(quint8 first, quint8 second, int extraBytes = 0)
{
    QByteArray packet(12 + extraBytes, '\0');
    packet[0] = static_cast<char>(first);
    packet[1] = static_cast<char>(second);
    qToBigEndian<quint16>(0x1234, packet.data() + 2);
    qToBigEndian<quint32>(0xCAFEBABE, packet.data() + 8);
    return packet;
}

quint16 at16(const QByteArray& packet, int offset)
{
    return qFromBigEndian<quint16>(packet.constData() + offset);
}

quint32 at32(const QByteArray& packet, int offset)
{
    return qFromBigEndian<quint32>(packet.constData() + offset);
}

} // namespace

TEST(RtpParsing, ReadsTheHeaderAndAcceptsTheMarker)
{
    const auto packet = RtpPacket::Parse(rtpHeader(0x80, 0x88) + "abc");
    ASSERT_TRUE(packet);
    EXPECT_TRUE(packet->marker);
    EXPECT_EQ(packet->payloadType, 8);
    EXPECT_EQ(packet->sequenceNumber, 0x1234);
    EXPECT_EQ(packet->ssrc, 0xCAFEBABE);
    EXPECT_EQ(packet->payload, "abc");
}

TEST(RtpParsing, StepsOverCsrcExtensionAndPadding)
{
    QByteArray packet = rtpHeader(0xB1, 0x08, 4 + 8); // padding, extension, one CSRC
    qToBigEndian<quint16>(1, packet.data() + 18);     // extension of one word
    packet += "voice";
    packet += QByteArray("\0\0\3", 3);
    const auto parsed = RtpPacket::Parse(packet);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->payload, "voice");
}

TEST(RtpParsing, RefusesWhatDoesNotFit)
{
    EXPECT_FALSE(RtpPacket::Parse(QByteArray(11, '\x80')));
    EXPECT_FALSE(RtpPacket::Parse(rtpHeader(0x40, 8) + "x"));            // version 1
    EXPECT_FALSE(RtpPacket::Parse(rtpHeader(0x8F, 8) + "x"));            // 15 CSRCs announced
    EXPECT_FALSE(RtpPacket::Parse(rtpHeader(0x90, 8) + "\0\0\xFF\xFF")); // extension too long
    EXPECT_FALSE(RtpPacket::Parse(rtpHeader(0xA0, 8) + "x\x09"));        // padding too long
    EXPECT_FALSE(RtpPacket::Parse(rtpHeader(0xA0, 8)));                  // padding without a byte... of zero
    EXPECT_TRUE(RtpPacket::Parse(rtpHeader(0x80, 8)));                   // empty payload parses
}

TEST(RtcpCompound, LayoutForLogin101OnHostDisp1)
{
    const RtcpCompoundPacket compound(0x01020304, "101@DISP1");
    RtcpCompoundPacket::Snapshot snapshot;
    snapshot.ntpTimestamp = 0x1122334455667788ULL;
    snapshot.rtpTimestamp = 8000;
    snapshot.packetsSent = 3;
    snapshot.octetsSent = 480;
    snapshot.sentSequence = 7;
    snapshot.remoteSsrc = 0xAABBCCDD;
    snapshot.receivedSequence = 99;
    const QByteArray packet = compound.Build(snapshot, false);
    ASSERT_EQ(packet.size(), 104);
    EXPECT_EQ(quint8(packet[0]), 0x81);
    EXPECT_EQ(quint8(packet[1]), 200);
    EXPECT_EQ(at16(packet, 2), 12);
    EXPECT_EQ(at32(packet, 4), 0x01020304u);
    EXPECT_EQ(at32(packet, 8), 0x11223344u);
    EXPECT_EQ(at32(packet, 12), 0x55667788u);
    EXPECT_EQ(at32(packet, 16), 8000u);
    EXPECT_EQ(at32(packet, 20), 3u);
    EXPECT_EQ(at32(packet, 24), 480u);
    EXPECT_EQ(at16(packet, 36), 7);
    EXPECT_EQ(at16(packet, 38), 7);
    EXPECT_EQ(at32(packet, 44), 0x33445566u);
    EXPECT_EQ(quint8(packet[53]), 201);
    EXPECT_EQ(at32(packet, 60), 0xAABBCCDDu);
    EXPECT_EQ(at16(packet, 70), 99);
    EXPECT_EQ(at32(packet, 76), 0x33445566u);
    EXPECT_EQ(quint8(packet[85]), 202);
    EXPECT_EQ(at16(packet, 86), 4);
    EXPECT_EQ(quint8(packet[92]), 1);
    EXPECT_EQ(quint8(packet[93]), 9);
    EXPECT_EQ(packet.mid(94, 9), "101@DISP1");
    // Every packet's length field covers exactly its own bytes (RFC 3550 6.4.1).
    EXPECT_EQ((at16(packet, 2) + 1) * 4 + (at16(packet, 54) + 1) * 4 + (at16(packet, 86) + 1) * 4, 104);
}

TEST(RtcpCompound, ByeFollowsTheReport)
{
    const QByteArray packet = RtcpCompoundPacket(5, "a@b").Build({}, true);
    const QByteArray bye = packet.right(12);
    EXPECT_EQ(quint8(bye[0]), 0x81);
    EXPECT_EQ(quint8(bye[1]), 203);
    EXPECT_EQ(at16(bye, 2), 2);
    EXPECT_EQ(at32(bye, 4), 5u);
    EXPECT_EQ(bye.mid(8), QByteArray("\003BYE", 4));
    EXPECT_EQ(packet.size() % 4, 0);
}

TEST(RtcpCompound, NtpTimestampOfTheUnixEpochAndHalfSeconds)
{
    EXPECT_EQ(RtcpCompoundPacket::NtpTimestamp(0) >> 32, 2208988800ULL);
    EXPECT_EQ(RtcpCompoundPacket::NtpTimestamp(1500) & 0xFFFFFFFFULL, 2147483648ULL);
}

TEST(RemoteSdpParsing, TakesAddressAndPortLineByLine)
{
    const auto crlf = RemoteSdp::Parse("v=0\r\nc=IN IP4 192.0.2.7\r\nm=audio 40000 RTP/AVP 8 101\r\n");
    ASSERT_TRUE(crlf);
    EXPECT_EQ(crlf->address, "192.0.2.7");
    EXPECT_EQ(crlf->port, 40000);
    const auto lf = RemoteSdp::Parse("v=0\nc=IN IP4 10.0.0.1\nm=video 5000 RTP/AVP 31\n"
                                     "m=audio 6000 RTP/AVP 8\nc=IN IP4 10.0.0.2\n");
    ASSERT_TRUE(lf);
    EXPECT_EQ(lf->address, "10.0.0.2");
    EXPECT_EQ(lf->port, 6000);
}

TEST(RemoteSdpParsing, NoMediaWithoutAValidAddressAndPort)
{
    EXPECT_FALSE(RemoteSdp::Parse(""));
    EXPECT_FALSE(RemoteSdp::Parse("m=audio 6000 RTP/AVP 8\r\n"));
    EXPECT_FALSE(RemoteSdp::Parse("c=IN IP4 10.0.0.1\r\n"));
    EXPECT_FALSE(RemoteSdp::Parse("c=IN IP4 0.0.0.0\r\nm=audio 6000 RTP/AVP 8\r\n"));
    EXPECT_FALSE(RemoteSdp::Parse("c=IN IP4 10.0.0.1\r\nm=audio 0 RTP/AVP 8\r\n"));
    EXPECT_FALSE(RemoteSdp::Parse("c=IN IP4 10.0.0.1\r\nm=audio 70000 RTP/AVP 8\r\n"));
    EXPECT_FALSE(RemoteSdp::Parse("c=IN IP4 pbx.example\r\nm=audio 6000 RTP/AVP 8\r\n"));
    EXPECT_FALSE(RemoteSdp::Parse("c=IN IP6 ::1\r\nm=audio 6000 RTP/AVP 8\r\n"));
}

TEST(RtcpReading, OurCompoundIsAValidCompound)
{
    const QByteArray packet = RtcpCompoundPacket(0x0A0B0C0D, "101@DISP1").Build({}, true);
    const auto packets = RtcpCompoundReader::Read(packet);
    ASSERT_TRUE(packets);
    ASSERT_EQ(packets->size(), 4);
    EXPECT_EQ((*packets)[0].type, 200);
    EXPECT_EQ((*packets)[1].type, 201);
    EXPECT_EQ((*packets)[2].type, 202);
    EXPECT_EQ((*packets)[3].type, 203);
    for (const auto& each : *packets)
        EXPECT_EQ(each.ssrc, 0x0A0B0C0Du);
    EXPECT_EQ(RtcpCompoundReader::Cname((*packets)[2]), "101@DISP1");
}

TEST(RtcpReading, RefusesInvalidCompounds)
{
    const QByteArray good = RtcpCompoundPacket(1, "a@b").Build({}, false);
    EXPECT_FALSE(RtcpCompoundReader::Read({}));
    EXPECT_FALSE(RtcpCompoundReader::Read(good.left(good.size() - 1))); // lengths do not add up
    EXPECT_FALSE(RtcpCompoundReader::Read(good.mid(84)));               // starts with SDES
    QByteArray badVersion = good;
    badVersion[52] = char(0x41);
    EXPECT_FALSE(RtcpCompoundReader::Read(badVersion));
    QByteArray paddedInside = good;
    paddedInside[0] = char(0xA1); // padding before the end
    EXPECT_FALSE(RtcpCompoundReader::Read(paddedInside));
    QByteArray hugeLength = good;
    hugeLength[2] = char(0xFF);
    EXPECT_FALSE(RtcpCompoundReader::Read(hugeLength));
}
