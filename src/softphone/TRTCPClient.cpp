#include "softphone/TRTCPClient.h"

#include "platform/net/HostLookup.h"
#include "softphone/RtpPacket.h"
#include "softphone/SilentAbort.h"

#include <QDateTime>

namespace {
constexpr int packetsPerReport = 150;
}

TRTCPClient::TRTCPClient(TRTPClient& rtp) : m_rtp(rtp) {}

bool TRTCPClient::Start(const QByteArray& login, const QByteArray& remoteAddress, quint16 remoteRtpPort)
{
    m_packet.reset();
    m_packetsSent = 0;
    m_octetsSent = 0;
    m_reportCounter = 0;
    try {
        Open();
        Bind(static_cast<quint16>(m_rtp.LocalPort() + 1));
    } catch (const SilentAbort&) {
        return false;
    }
    if (!m_rtp.OpenMedia(remoteAddress, remoteRtpPort))
        return false;
    m_remoteRtcp = {m_rtp.RemoteAddress().address, static_cast<quint16>(remoteRtpPort + 1)};
    m_packet.emplace(m_rtp.Ssrc(), login + '@' + LocalHostName());
    return true;
}

long TRTCPClient::SendRTP(quint8 payloadType, const QByteArray& payload)
{
    if (m_reportCounter == 0)
        SendReport(false);
    m_reportCounter = (m_reportCounter + 1) % packetsPerReport;
    ++m_packetsSent;
    m_octetsSent += static_cast<quint32>(payload.size());
    return m_rtp.SendPacket(payloadType, payload);
}

void TRTCPClient::SendFirst()
{
    m_remoteSsrc = 0;
    SendRTP(8, {});
}

void TRTCPClient::Stop()
{
    SendReport(true);
}

void TRTCPClient::SendReport(bool withBye)
{
    if (!m_packet || !IsOpen())
        return;
    RtcpCompoundPacket::Snapshot snapshot;
    snapshot.ntpTimestamp = RtcpCompoundPacket::NtpTimestamp(QDateTime::currentMSecsSinceEpoch());
    snapshot.rtpTimestamp = m_rtp.Timestamp();
    snapshot.packetsSent = m_packetsSent;
    snapshot.octetsSent = m_octetsSent;
    snapshot.sentSequence = m_rtp.SequenceNumber();
    snapshot.remoteSsrc = m_lastReceivedSsrc;
    snapshot.receivedSequence = m_lastReceivedSequence;
    const QByteArray packet = m_packet->Build(snapshot, withBye);
    m_socket.sendTo(m_remoteRtcp, packet.constData(), packet.size());
}

TRTCPClient::Received TRTCPClient::ReceiveRTP(quint8 expectedPayloadType, int timeoutMs)
{
    const QByteArray datagram = m_rtp.ReceivePacket(timeoutMs);
    if (datagram.isEmpty())
        return {};
    const std::optional<RtpPacket> packet = RtpPacket::Parse(datagram);
    if (!packet || packet->payloadType != expectedPayloadType || packet->payload.isEmpty())
        return {Received::Rejected, {}};
    quint32 none = 0;
    m_remoteSsrc.compare_exchange_strong(none, packet->ssrc);
    m_lastReceivedSsrc = packet->ssrc;
    m_lastReceivedSequence = packet->sequenceNumber;
    return {Received::Accepted, packet->payload};
}
