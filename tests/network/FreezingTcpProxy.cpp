#include "FreezingTcpProxy.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int listenOnLoopback(int* port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, 8) != 0 || ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on loopback");
    *port = ntohs(address.sin_port);
    return s;
}

int connectToLoopback(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(uint16_t(port));
    if (s < 0 || ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (s >= 0)
            ::close(s);
        return -1;
    }
    return s;
}

} // namespace

FreezingTcpProxy::FreezingTcpProxy(int upstreamPort) : m_upstreamPort(upstreamPort)
{
    m_listener = listenOnLoopback(&m_port);
    m_acceptor = std::thread(&FreezingTcpProxy::acceptLoop, this);
}

FreezingTcpProxy::~FreezingTcpProxy()
{
    m_stopping = true;
    ::shutdown(m_listener, SHUT_RDWR);
    m_acceptor.join();
    {
        std::lock_guard lock(m_mutex);
        for (int s : m_sockets)
            ::shutdown(s, SHUT_RDWR);
    }
    for (std::thread& t : m_threads)
        t.join();
    for (int s : m_sockets)
        ::close(s);
    ::close(m_listener);
}

void FreezingTcpProxy::acceptLoop()
{
    for (;;) {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0 || m_stopping) {
            if (client >= 0)
                ::close(client);
            return;
        }
        const int server = connectToLoopback(m_upstreamPort);
        std::lock_guard lock(m_mutex);
        m_sockets.push_back(client);
        if (server < 0)
            continue;
        m_sockets.push_back(server);
        m_threads.emplace_back(&FreezingTcpProxy::relay, this, client, server);
        m_threads.emplace_back(&FreezingTcpProxy::relay, this, server, client);
    }
}

void FreezingTcpProxy::relay(int from, int to)
{
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
        if (got <= 0 || m_stopping)
            return;
        while (m_frozen && !m_stopping) // held here: nothing more passes, nothing is closed
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (m_stopping)
            return;
        for (ssize_t sent = 0; sent < got;) {
            const ssize_t n = ::send(to, buffer + sent, size_t(got - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += n;
        }
    }
}

SilentListener::SilentListener()
{
    m_socket = listenOnLoopback(&m_port);
}

SilentListener::~SilentListener()
{
    ::close(m_socket);
}
