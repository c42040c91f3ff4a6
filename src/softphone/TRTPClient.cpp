#include "softphone/TRTPClient.h"

#include "platform/net/HostLookup.h"
#include "platform/net/SecureRandomId.h"
#include "softphone/SilentAbort.h"
#include "softphone/SipErrorCodes.h"

#include <QtEndian>

TRTPClient::TRTPClient() : m_ssrc(RandomUInt32())
{
    if (const std::optional<quint32> address = LocalAddress())
        m_localAddressText = Ipv4Endpoint::dotted(*address);
    else
        m_errorCode = SIP_HOST_NOT_FOUND;
}

bool TRTPClient::OpenMedia(const QByteArray& remoteAddress, quint16 remotePort)
{
    try {
        Open();
        Bind(m_localPort);
    } catch (const SilentAbort&) {
        return false;
    }
    const std::optional<quint32> address = ResolveHost(remoteAddress);
    if (!address)
        return false;
    m_remote = {*address, remotePort};
    m_sequence = 0;
    // A random start makes the stream's timing unguessable (RFC 3550 section 5.1).
    m_timestampBase = RandomUInt32();
    m_samplesSent = 0;
    return true;
}

long TRTPClient::SendPacket(quint8 payloadType, const QByteArray& payload)
{
    QByteArray packet(12 + payload.size(), Qt::Uninitialized);
    auto* bytes = reinterpret_cast<uchar*>(packet.data());
    bytes[0] = 0x80;
    bytes[1] = payloadType & 0x7F;
    qToBigEndian<quint16>(static_cast<quint16>(m_sequence.load()), bytes + 2);
    // Timestamps count 8 kHz samples; one A-law byte is one sample (RFC 3551 4.5.14).
    qToBigEndian<quint32>(Timestamp(), bytes + 4);
    qToBigEndian<quint32>(m_ssrc, bytes + 8);
    std::copy(payload.cbegin(), payload.cend(), packet.begin() + 12);
    const long sent = m_socket.sendTo(m_remote, packet.constData(), packet.size());
    ++m_sequence;
    m_samplesSent += static_cast<quint32>(payload.size());
    return sent;
}
