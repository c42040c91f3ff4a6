#pragma once

#include "softphone/RtcpCompoundPacket.h"
#include "softphone/TCustomUDPClient.h"
#include "softphone/TRTPClient.h"

#include <atomic>
#include <optional>

// RTCP of a call and the front door for all RTP sent: every 150th packet (about
// 4.5 s of speech) is preceded by a compound report, and the call ends with a BYE.
// Sending runs on the owner's thread; the playback thread only receives RTP and
// notes what arrived, through atomics.
class TRTCPClient : public TCustomUDPClient
{
public:
    struct Received
    {
        enum Kind { Nothing, Rejected, Accepted } kind = Nothing;
        QByteArray payload;
    };

    explicit TRTCPClient(TRTPClient& rtp);

    // Opens RTCP on the RTP port + 1 and RTP towards the remote address; false when
    // either socket cannot be bound or the address does not resolve.
    bool Start(const QByteArray& login, const QByteArray& remoteAddress, quint16 remoteRtpPort);
    long SendRTP(quint8 payloadType, const QByteArray& payload);
    // The first, empty RTP packet (after the first report) opens NAT bindings.
    void SendFirst();
    void Stop();
    void SendReport(bool withBye);

    // One RTP packet from the other side (waits at most timeoutMs): accepted when it is
    // RTP of the expected payload type with a payload.
    Received ReceiveRTP(quint8 expectedPayloadType, int timeoutMs);

    TRTPClient& Link() { return m_rtp; }
    quint32 PacketsSent() const { return m_packetsSent; }
    quint32 RemoteSsrc() const { return m_remoteSsrc; }
    const Ipv4Endpoint& RemoteRtcpAddress() const { return m_remoteRtcp; }

private:
    TRTPClient& m_rtp;
    std::optional<RtcpCompoundPacket> m_packet;
    Ipv4Endpoint m_remoteRtcp;
    quint32 m_packetsSent = 0;
    quint32 m_octetsSent = 0;
    int m_reportCounter = 0;
    std::atomic<quint32> m_remoteSsrc = 0;
    std::atomic<quint32> m_lastReceivedSsrc = 0;
    std::atomic<quint16> m_lastReceivedSequence = 0;
};
