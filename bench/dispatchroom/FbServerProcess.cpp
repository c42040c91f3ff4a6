#include "FbServerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <unistd.h>

namespace {

QString sourceFile(const QString& relative)
{
    return QStringLiteral(TAXI_SOURCE_DIR "/") + relative;
}

} // namespace

FbServerProcess::~FbServerProcess()
{
    if (m_startedHere && m_pid > 0)
        QProcess::execute(sourceFile(QStringLiteral("tools/fbserver/stop-server.sh")),
                          {QString::number(m_pid)});
}

bool FbServerProcess::open(const QString& workFolder)
{
    m_prefix = qEnvironmentVariable("TAXI_FB_SERVER");
    if (!m_prefix.isEmpty()) {
        const QRegularExpressionMatch port = QRegularExpression(QStringLiteral("/(\\d+):$")).match(m_prefix);
        m_pid = port.hasMatch() ? listenerOf(port.captured(1).toInt()) : 0;
        if (m_pid == 0)
            m_why = QStringLiteral("no process of ours listens on the port of TAXI_FB_SERVER (%1)").arg(m_prefix);
        return m_pid != 0;
    }
    const int port = 30000 + int(QRandomGenerator::global()->bounded(20000));
    QProcess start;
    start.setProgram(sourceFile(QStringLiteral("tools/fbserver/start-server.sh")));
    start.setArguments({workFolder + QStringLiteral("/fbroot"), QString::number(port),
                        QCoreApplication::applicationDirPath() + QStringLiteral("/taxidb")});
    start.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    start.start();
    if (!start.waitForFinished(30000) || start.exitStatus() != QProcess::NormalExit || start.exitCode() != 0) {
        m_why = QStringLiteral("TAXI_FB_SERVER is not set and tools/fbserver/start-server.sh could not start "
                               "a server (exit %1)")
                    .arg(start.exitCode());
        return false;
    }
    m_pid = QString::fromLatin1(start.readAllStandardOutput()).trimmed().toLongLong();
    m_startedHere = true;
    m_prefix = QStringLiteral("127.0.0.1/%1:").arg(port);
    return m_pid > 0;
}

qint64 FbServerProcess::listenerOf(int port)
{
    // The socket inode listening on 127.0.0.1:<port> (state 0A), then the process of
    // this user that holds it.
    QFile tcp(QStringLiteral("/proc/net/tcp"));
    if (!tcp.open(QIODevice::ReadOnly))
        return 0;
    const QString local = QStringLiteral("0100007F:%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    QString inode;
    for (const QByteArray& line : tcp.readAll().split('\n')) {
        const QStringList f = QString::fromLatin1(line).simplified().split(QLatin1Char(' '));
        if (f.size() > 9 && f[1] == local && f[3] == QLatin1String("0A"))
            inode = f[9];
    }
    if (inode.isEmpty())
        return 0;
    const QString socket = QStringLiteral("socket:[%1]").arg(inode);
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        const QString folder = QStringLiteral("/proc/%1/fd").arg(pid);
        for (const QString& fd : QDir(folder).entryList(QDir::System | QDir::NoDotAndDotDot)) {
            char target[64] = {};
            const QByteArray path = (folder + QLatin1Char('/') + fd).toLocal8Bit();
            const ssize_t length = ::readlink(path.constData(), target, sizeof target - 1);
            if (length > 0 && QLatin1String(target, int(length)) == socket)
                return pid;
        }
    }
    return 0;
}

double FbServerProcess::cpuSeconds() const
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(m_pid));
    if (m_pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    // The fields after the command name, which sits in parentheses and may hold blanks:
    // utime and stime are the 14th and 15th fields of the line.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> f = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (f.size() < 13)
        return -1;
    return double(f[11].toLongLong() + f[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}
