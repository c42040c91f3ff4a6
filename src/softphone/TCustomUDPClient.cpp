#include "softphone/TCustomUDPClient.h"

#include "softphone/SilentAbort.h"
#include "softphone/SipErrorCodes.h"

namespace {
constexpr std::size_t largestUdpPayload = 65535;
}

TCustomUDPClient::TCustomUDPClient() : m_receiveBuffer(largestUdpPayload) {}

TCustomUDPClient::~TCustomUDPClient() = default;

void TCustomUDPClient::Open()
{
    Close();
    if (!m_socket.open())
        RaiseError(SIP_HOST_NOT_FOUND);
}

int TCustomUDPClient::Close()
{
    return m_socket.close();
}

void TCustomUDPClient::Bind(quint16 port)
{
    if (!m_socket.bind(port))
        RaiseError(m_socket.lastError());
}

QByteArray TCustomUDPClient::ReceiveDatagram(int timeoutMs)
{
    if (timeoutMs >= 0 && !m_socket.waitReadable(timeoutMs))
        return {};
    const long received = m_socket.receive(m_receiveBuffer.data(), m_receiveBuffer.size(), m_fromAddress);
    if (received <= 0)
        return {};
    return QByteArray(m_receiveBuffer.data(), static_cast<qsizetype>(received));
}

void TCustomUDPClient::RaiseError(int code)
{
    m_errorCode = code;
    throw SilentAbort{code};
}
