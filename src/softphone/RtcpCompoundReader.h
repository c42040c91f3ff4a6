#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// Reads an RTCP compound packet (RFC 3550 section 6.1) with the validity checks of
// its Appendix A.2: version 2 throughout, a sender or receiver report first,
// padding only in the last packet, and lengths that add up to the datagram.
class RtcpCompoundReader
{
public:
    struct Packet
    {
        quint8 type = 0;  // 200 SR, 201 RR, 202 SDES, 203 BYE ...
        quint8 count = 0; // report blocks, chunks or sources
        quint32 ssrc = 0; // the first SSRC, when the packet has one
        QByteArray body;  // after the 4-byte header, without padding
    };

    // The packets, or nothing when the compound is not valid.
    static std::optional<QList<Packet>> Read(const QByteArray& datagram);
    // The CNAME of the first SDES chunk, empty when there is none.
    static QByteArray Cname(const Packet& sdes);
};
