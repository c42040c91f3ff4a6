#include "softphone/RtcpCompoundReader.h"

#include <QtEndian>

std::optional<QList<RtcpCompoundReader::Packet>> RtcpCompoundReader::Read(const QByteArray& datagram)
{
    const auto* bytes = reinterpret_cast<const uchar*>(datagram.constData());
    const qsizetype size = datagram.size();
    QList<Packet> packets;
    qsizetype at = 0;
    while (at < size) {
        if (size - at < 4 || (bytes[at] >> 6) != 2)
            return std::nullopt;
        const qsizetype length = (qsizetype(qFromBigEndian<quint16>(bytes + at + 2)) + 1) * 4;
        if (length > size - at)
            return std::nullopt;
        Packet packet;
        packet.type = bytes[at + 1];
        packet.count = bytes[at] & 0x1F;
        qsizetype bodyLength = length - 4;
        if (bytes[at] & 0x20) {
            // Only the last packet of a compound may be padded (RFC 3550 A.2).
            const int padding = bytes[at + length - 1];
            if (at + length != size || padding == 0 || padding > bodyLength)
                return std::nullopt;
            bodyLength -= padding;
        }
        packet.body = datagram.mid(at + 4, bodyLength);
        if (bodyLength >= 4)
            packet.ssrc = qFromBigEndian<quint32>(bytes + at + 4);
        if (packets.isEmpty() && packet.type != 200 && packet.type != 201)
            return std::nullopt;
        packets.append(packet);
        at += length;
    }
    if (packets.isEmpty())
        return std::nullopt;
    return packets;
}

QByteArray RtcpCompoundReader::Cname(const Packet& sdes)
{
    if (sdes.type != 202 || sdes.count == 0)
        return {};
    qsizetype at = 4; // after the chunk's SSRC
    while (at + 2 <= sdes.body.size() && sdes.body[at] != 0) {
        const quint8 type = static_cast<quint8>(sdes.body[at]);
        const qsizetype length = static_cast<quint8>(sdes.body[at + 1]);
        if (at + 2 + length > sdes.body.size())
            return {};
        if (type == 1)
            return sdes.body.mid(at + 2, length);
        at += 2 + length;
    }
    return {};
}
