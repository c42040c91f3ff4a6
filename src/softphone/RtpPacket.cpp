#include "softphone/RtpPacket.h"

#include <QtEndian>

std::optional<RtpPacket> RtpPacket::Parse(const QByteArray& datagram)
{
    constexpr qsizetype fixedHeader = 12;
    const auto* bytes = reinterpret_cast<const uchar*>(datagram.constData());
    const qsizetype size = datagram.size();
    if (size < fixedHeader || (bytes[0] >> 6) != 2)
        return std::nullopt;

    qsizetype headerEnd = fixedHeader + 4 * (bytes[0] & 0x0F);
    if (headerEnd > size)
        return std::nullopt;
    if (bytes[0] & 0x10) { // header extension: 4-byte head, then its length in words
        if (headerEnd + 4 > size)
            return std::nullopt;
        headerEnd += 4 + 4 * qFromBigEndian<quint16>(bytes + headerEnd + 2);
        if (headerEnd > size)
            return std::nullopt;
    }
    qsizetype payloadEnd = size;
    if (bytes[0] & 0x20) { // padding: its count is the last byte
        const int padding = bytes[size - 1];
        if (padding == 0 || padding > size - headerEnd)
            return std::nullopt;
        payloadEnd -= padding;
    }

    RtpPacket packet;
    packet.marker = bytes[1] & 0x80;
    packet.payloadType = bytes[1] & 0x7F;
    packet.sequenceNumber = qFromBigEndian<quint16>(bytes + 2);
    packet.timestamp = qFromBigEndian<quint32>(bytes + 4);
    packet.ssrc = qFromBigEndian<quint32>(bytes + 8);
    packet.payload = datagram.mid(headerEnd, payloadEnd - headerEnd);
    return packet;
}
