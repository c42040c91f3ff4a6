#include "support/peers/PeerProcess.h"

#include <QFile>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

PeerProcess::PeerProcess()
{
    m_process.setChildProcessModifier([] {
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
}

PeerProcess::~PeerProcess()
{
    Stop();
}

bool PeerProcess::Start(const QString& program, const QStringList& arguments, const QString& logFile)
{
    m_logFile = logFile;
    m_process.setStandardOutputFile(logFile);
    m_process.setStandardErrorFile(logFile, QIODevice::Append);
    m_process.start(program, arguments);
    return m_process.waitForStarted(5000);
}

void PeerProcess::Stop(int graceMs)
{
    if (!Running())
        return;
    const pid_t group = static_cast<pid_t>(m_process.processId());
    ::kill(-group, SIGTERM);
    if (!m_process.waitForFinished(graceMs)) {
        ::kill(-group, SIGKILL);
        m_process.waitForFinished(2000);
    }
    // Workers that outlived their parent still belong to the group.
    ::kill(-group, SIGKILL);
}

QString PeerProcess::LogTail(int characters) const
{
    QFile log(m_logFile);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(log.readAll().right(characters));
}
