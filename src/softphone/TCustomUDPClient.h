#pragma once

#include "platform/net/Ipv4Endpoint.h"
#include "platform/net/UdpSocket.h"

#include <QByteArray>
#include <vector>

// Common base of the SIP, RTP, RTCP and STUN endpoints: one IPv4 UDP socket, errors
// as a code followed by a silent abort (SilentAbort) of the running operation.
class TCustomUDPClient
{
public:
    TCustomUDPClient();
    virtual ~TCustomUDPClient();
    TCustomUDPClient(const TCustomUDPClient&) = delete;
    TCustomUDPClient& operator=(const TCustomUDPClient&) = delete;

    virtual void Open();
    virtual int Close();

    void Bind(quint16 port);
    // One datagram, or empty when nothing arrived within timeoutMs (-1 waits for ever).
    // The buffer holds 65,535 bytes, the largest UDP payload, so nothing is truncated.
    QByteArray ReceiveDatagram(int timeoutMs = -1);

    int ErrorCode() const { return m_errorCode; }
    const Ipv4Endpoint& FromAddress() const { return m_fromAddress; }
    bool IsOpen() const { return m_socket.isOpen(); }
    quint16 BoundPort() const { return m_socket.localPort(); }

protected:
    [[noreturn]] void RaiseError(int code);

    UdpSocket m_socket;
    int m_errorCode = 0;
    Ipv4Endpoint m_fromAddress;

private:
    std::vector<char> m_receiveBuffer;
};
