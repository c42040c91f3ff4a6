#include "softphone/RtcpCompoundPacket.h"

#include <QtEndian>
#include <cmath>

namespace {

void put32(QByteArray& packet, int offset, quint32 value)
{
    qToBigEndian<quint32>(value, reinterpret_cast<uchar*>(packet.data()) + offset);
}

void put16(QByteArray& packet, int offset, quint16 value)
{
    qToBigEndian<quint16>(value, reinterpret_cast<uchar*>(packet.data()) + offset);
}

} // namespace

RtcpCompoundPacket::RtcpCompoundPacket(quint32 ssrc, const QByteArray& cname) : m_ssrc(ssrc)
{
    const QByteArray name = cname.left(255);
    const int total = (static_cast<int>(name.size()) + 98) & ~3;
    m_template = QByteArray(total, '\0');
    auto set = [this](int offset, quint8 value) { m_template[offset] = static_cast<char>(value); };

    set(0, 0x81); // sender report with one report block
    set(1, 200);
    put16(m_template, 2, 12);
    put32(m_template, 4, ssrc);
    put32(m_template, 28, ssrc);
    put32(m_template, 48, 1);

    set(52, 0x81); // receiver report with one block
    set(53, 201);
    put16(m_template, 54, 7);
    put32(m_template, 56, ssrc);
    put32(m_template, 80, 1);

    set(84, 0x81); // source description with one chunk
    set(85, 202);
    put16(m_template, 86, static_cast<quint16>((total - 84) / 4 - 1));
    put32(m_template, 88, ssrc);
    set(92, 1); // CNAME
    set(93, static_cast<quint8>(name.size()));
    std::copy(name.cbegin(), name.cend(), m_template.begin() + 94);
}

quint64 RtcpCompoundPacket::NtpTimestamp(qint64 unixMilliseconds)
{
    constexpr quint64 secondsFrom1900To1970 = 2208988800ULL;
    const quint64 seconds = static_cast<quint64>(unixMilliseconds / 1000) + secondsFrom1900To1970;
    const auto fraction = static_cast<quint64>(
        std::llround(static_cast<double>(unixMilliseconds % 1000) / 1000.0 * 4294967295.0));
    return (seconds << 32) | (fraction & 0xFFFFFFFFULL);
}

QByteArray RtcpCompoundPacket::Build(const Snapshot& snapshot, bool withBye) const
{
    QByteArray packet = m_template;
    put32(packet, 8, static_cast<quint32>(snapshot.ntpTimestamp >> 32));
    put32(packet, 12, static_cast<quint32>(snapshot.ntpTimestamp));
    put32(packet, 16, snapshot.rtpTimestamp);
    put32(packet, 20, snapshot.packetsSent);
    put32(packet, 24, snapshot.octetsSent);
    put16(packet, 36, snapshot.sentSequence);
    put16(packet, 38, snapshot.sentSequence);
    const auto middle = static_cast<quint32>(snapshot.ntpTimestamp >> 16);
    put32(packet, 44, middle);
    put32(packet, 60, snapshot.remoteSsrc);
    put16(packet, 70, snapshot.receivedSequence);
    put32(packet, 76, middle);
    if (withBye) {
        QByteArray bye(12, '\0');
        bye[0] = static_cast<char>(0x81);
        bye[1] = static_cast<char>(203);
        put16(bye, 2, 2);
        put32(bye, 4, m_ssrc);
        bye.replace(8, 4, QByteArray("\003BYE", 4));
        packet += bye;
    }
    return packet;
}
