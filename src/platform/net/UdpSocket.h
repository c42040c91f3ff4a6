#pragma once

#include "platform/net/Ipv4Endpoint.h"

#include <cstddef>

// One IPv4 UDP socket over the POSIX API. Failures return -1 (or false) and leave
// the errno value in lastError(), so callers can report the system's own number.
class UdpSocket
{
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    bool open();
    // Returns the result of close(2), or -1 when nothing was open.
    int close();
    bool isOpen() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }

    // Binds to the port on all local interfaces (0.0.0.0); 0 picks a free port.
    bool bind(quint16 port);
    quint16 localPort() const;
    bool setNonBlocking(bool nonBlocking);

    // Waits until a datagram is readable; false on time-out or error.
    bool waitReadable(int timeoutMs) const;
    // Receives one datagram; a longer one is truncated to capacity. -1 on error.
    long receive(char* buffer, std::size_t capacity, Ipv4Endpoint& from);
    // Sends one datagram; the number of bytes sent or -1.
    long sendTo(const Ipv4Endpoint& to, const char* data, std::size_t length);

    int lastError() const { return m_lastError; }

private:
    int m_fd = -1;
    int m_lastError = 0;
};
