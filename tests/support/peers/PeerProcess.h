#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A peer program of the tests (an exchange, a telephone) in a process group of its
// own, so that stopping it reaches the workers it forks too. It also gets SIGTERM when
// the test process dies, so a crashed or timed-out test leaves no peer behind.
class PeerProcess
{
public:
    PeerProcess();
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // The program's standard output and error go to logFile.
    bool Start(const QString& program, const QStringList& arguments, const QString& logFile);
    bool Running() const { return m_process.state() != QProcess::NotRunning; }
    // SIGTERM to the group, then SIGKILL when it has not ended within graceMs.
    void Stop(int graceMs = 5000);
    // The last part of the log, for a failure message.
    QString LogTail(int characters = 4000) const;

private:
    QProcess m_process;
    QString m_logFile;
};
