#include "platform/net/UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

UdpSocket::~UdpSocket()
{
    close();
}

bool UdpSocket::open()
{
    close();
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_fd < 0) {
        m_lastError = errno;
        return false;
    }
    return true;
}

int UdpSocket::close()
{
    if (m_fd < 0)
        return -1;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result;
}

bool UdpSocket::bind(quint16 port)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        m_lastError = errno;
        return false;
    }
    return true;
}

quint16 UdpSocket::localPort() const
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

bool UdpSocket::setNonBlocking(bool nonBlocking)
{
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 ||
        ::fcntl(m_fd, F_SETFL, nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK)) != 0) {
        m_lastError = errno;
        return false;
    }
    return true;
}

bool UdpSocket::waitReadable(int timeoutMs) const
{
    if (m_fd < 0)
        return false;
    pollfd entry{m_fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0 && (entry.revents & POLLIN);
}

long UdpSocket::receive(char* buffer, std::size_t capacity, Ipv4Endpoint& from)
{
    sockaddr_in source{};
    socklen_t length = sizeof source;
    const ssize_t received =
        ::recvfrom(m_fd, buffer, capacity, 0, reinterpret_cast<sockaddr*>(&source), &length);
    if (received < 0) {
        m_lastError = errno;
        return -1;
    }
    from.address = ntohl(source.sin_addr.s_addr);
    from.port = ntohs(source.sin_port);
    return static_cast<long>(received);
}

long UdpSocket::sendTo(const Ipv4Endpoint& to, const char* data, std::size_t length)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(to.port);
    target.sin_addr.s_addr = htonl(to.address);
    const ssize_t sent =
        ::sendto(m_fd, data, length, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (sent < 0) {
        m_lastError = errno;
        return -1;
    }
    return static_cast<long>(sent);
}
