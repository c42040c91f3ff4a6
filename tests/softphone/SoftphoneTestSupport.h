#pragma once

#include "platform/net/Ipv4Endpoint.h"
#include "platform/net/UdpSocket.h"

#include <QByteArray>
#include <functional>

// Runs the Qt event loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);
// Runs the Qt event loop for a while (to show that something does NOT happen).
void PumpEvents(int milliseconds);

// A UDP socket on loopback that plays the server side of the wire in tests, so the
// exact bytes the client sends can be checked.
class LoopbackPeer
{
public:
    LoopbackPeer();
    explicit LoopbackPeer(quint16 port);
    quint16 Port() const { return m_port; }
    // The next datagram, pumping the event loop while waiting; empty on time-out.
    QByteArray Receive(int timeoutMs = 3000);
    void Send(const QByteArray& datagram, quint16 toPort);
    const Ipv4Endpoint& LastSender() const { return m_lastSender; }

private:
    UdpSocket m_socket;
    quint16 m_port = 0;
    Ipv4Endpoint m_lastSender;
};

// A UDP port that was free a moment ago.
quint16 FreeUdpPort();
// An even UDP port that was free a moment ago together with the next one (RTP, RTCP).
quint16 FreeUdpPortPair();
// True when some socket of this machine is bound to the UDP port. It reads the kernel's
// socket table instead of trying a bind of its own, so waiting for a peer program to take
// its port never takes the port from under it.
bool UdpPortIsTaken(quint16 port);

// The value of a header line in a raw message ("" when absent).
QByteArray HeaderOf(const QByteArray& message, const QByteArray& name);

// True when the message matches the template line for line; in the template
// "<HEX>" stands for 32 upper-case hex digits and "<N>" for a decimal number.
bool MatchesTemplate(const QByteArray& message, const QByteArray& pattern);

// A response to a raw request, copying its Via, From, To, Call-ID and CSeq lines.
QByteArray ResponseTo(const QByteArray& request, const QByteArray& status,
                      const QByteArray& extraHeaders = {}, const QByteArray& body = {});
