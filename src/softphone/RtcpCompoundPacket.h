#pragma once

#include <QByteArray>

// The compound RTCP packet this side sends (RFC 3550 section 6.1): a sender report
// with one report block, a receiver report with one block about the other side, and
// a source description with the CNAME; a BYE is appended when the call ends.
class RtcpCompoundPacket
{
public:
    struct Snapshot
    {
        quint64 ntpTimestamp = 0; // seconds since 1900 in the high 32 bits
        quint32 rtpTimestamp = 0;
        quint32 packetsSent = 0;
        quint32 octetsSent = 0;
        quint16 sentSequence = 0;
        quint32 remoteSsrc = 0;
        quint16 receivedSequence = 0;
    };

    // The layout is fixed once per call: SSRC and CNAME (cut at 255 bytes).
    RtcpCompoundPacket(quint32 ssrc, const QByteArray& cname);

    QByteArray Build(const Snapshot& snapshot, bool withBye) const;
    int Size() const { return m_template.size(); }

    // The NTP form of a Unix time in milliseconds (RFC 3550 section 4).
    static quint64 NtpTimestamp(qint64 unixMilliseconds);

private:
    QByteArray m_template;
    quint32 m_ssrc;
};
