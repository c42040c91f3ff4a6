#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

// A loopback TCP relay to a server that can stop relaying at any moment, leaving both
// sides connected: what a workstation sees when a link breaks somewhere in between and
// no reset ever arrives (a half-open connection). It relays on threads of its own, so it
// keeps working while the thread under test is blocked in a call.
class FreezingTcpProxy
{
public:
    explicit FreezingTcpProxy(int upstreamPort);
    ~FreezingTcpProxy();
    FreezingTcpProxy(const FreezingTcpProxy&) = delete;
    FreezingTcpProxy& operator=(const FreezingTcpProxy&) = delete;

    int port() const { return m_port; }
    // From now on nothing more passes in either direction.
    void freeze() { m_frozen = true; }

private:
    void acceptLoop();
    void relay(int from, int to);

    int m_upstreamPort;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_frozen{false};
    std::atomic<bool> m_stopping{false};
    std::mutex m_mutex;
    std::vector<int> m_sockets;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};

// A loopback port whose listener completes the TCP handshake and then never says a
// word (nothing ever accepts): a server that hangs before its first answer.
class SilentListener
{
public:
    SilentListener();
    ~SilentListener();
    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};
