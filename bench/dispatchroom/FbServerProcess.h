#pragma once

#include <QString>

// The Firebird network server the room works on: the one `./taxi bench` started
// (TAXI_FB_SERVER, "127.0.0.1/<port>:"), or one of our own on a free loopback port,
// stopped again when this object goes. Its process is found by the port it listens on,
// so another developer's server on the same machine is never the one measured.
class FbServerProcess
{
public:
    FbServerProcess() = default;
    ~FbServerProcess();
    FbServerProcess(const FbServerProcess&) = delete;
    FbServerProcess& operator=(const FbServerProcess&) = delete;

    // False, with why(), when there is none and none could be started.
    bool open(const QString& workFolder);
    const QString& why() const { return m_why; }
    const QString& prefix() const { return m_prefix; } // "127.0.0.1/<port>:"
    qint64 pid() const { return m_pid; }
    bool startedHere() const { return m_startedHere; }

    // The server's CPU time so far (user + system), in seconds; -1 when unreadable.
    double cpuSeconds() const;

private:
    static qint64 listenerOf(int port);

    QString m_prefix;
    QString m_why;
    qint64 m_pid = 0;
    bool m_startedHere = false;
};
