#pragma once

#include "softphone/TCustomUDPClient.h"

#include <atomic>

// The RTP endpoint of a call (RFC 3550): sends payloads with the RTP header and
// receives the other side's packets on the same socket.
class TRTPClient : public TCustomUDPClient
{
public:
    // Finds this computer's address; ErrorCode is SIP_HOST_NOT_FOUND when it cannot.
    TRTPClient();

    const QByteArray& LocalAddressText() const { return m_localAddressText; }
    quint16 LocalPort() const { return m_localPort; }
    void SetLocalPort(quint16 port) { m_localPort = port; }
    quint32 Ssrc() const { return m_ssrc; }

    // Re-creates and binds the socket; false when the remote address does not resolve.
    bool OpenMedia(const QByteArray& remoteAddress, quint16 remotePort);
    // Sends header + payload; the bytes sent or -1.
    long SendPacket(quint8 payloadType, const QByteArray& payload);
    // One received datagram, or empty after timeoutMs (the playback thread polls so it
    // can be stopped).
    QByteArray ReceivePacket(int timeoutMs) { return ReceiveDatagram(timeoutMs); }

    quint16 SequenceNumber() const { return static_cast<quint16>(m_sequence.load()); }
    // The timestamp the next packet carries.
    quint32 Timestamp() const { return m_timestampBase + m_samplesSent; }
    const Ipv4Endpoint& RemoteAddress() const { return m_remote; }

private:
    QByteArray m_localAddressText;
    quint16 m_localPort = 5004;
    Ipv4Endpoint m_remote;
    quint32 m_ssrc = 0;
    std::atomic<quint32> m_sequence = 0;
    quint32 m_timestampBase = 0;
    quint32 m_samplesSent = 0;
};
