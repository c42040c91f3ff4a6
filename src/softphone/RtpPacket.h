#pragma once

#include <QByteArray>
#include <optional>

// The fields of a received RTP packet (RFC 3550 section 5.1), read with every length
// checked against the datagram: CSRC list, header extension and padding are stepped
// over, never read past.
struct RtpPacket
{
    bool marker = false;
    quint8 payloadType = 0;
    quint16 sequenceNumber = 0;
    quint32 timestamp = 0;
    quint32 ssrc = 0;
    QByteArray payload;

    // Nothing for a datagram that is not RTP version 2 or whose lengths do not fit.
    static std::optional<RtpPacket> Parse(const QByteArray& datagram);
};
