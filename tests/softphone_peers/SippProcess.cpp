#include "SippProcess.h"

#include "../softphone/SoftphoneTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString SippProcess::Executable()
{
    return QStandardPaths::findExecutable(QStringLiteral("sipp"));
}

QString SippProcess::AlawRecording()
{
    QProcess packageFiles;
    packageFiles.start(QStringLiteral("dpkg"), {QStringLiteral("-L"), QStringLiteral("sip-tester")});
    if (packageFiles.waitForFinished(5000))
        for (const QByteArray& line : packageFiles.readAllStandardOutput().split('\n'))
            if (line.endsWith("/g711a.pcap") && QFile::exists(QString::fromLocal8Bit(line)))
                return QString::fromLocal8Bit(line);
    const QString usual = QStringLiteral("/usr/share/sip-tester/g711a.pcap");
    return QFile::exists(usual) ? usual : QString();
}

SippProcess::SippProcess(const QString& scenario, quint16 localPort, const QStringList& extraArguments,
                         const QMap<QString, QString>& substitutions)
    : m_localPort(localPort)
{
    QString scenarioPath = QStringLiteral(SCENARIO_DIR "/") + scenario;
    if (!substitutions.isEmpty()) {
        QFile source(scenarioPath);
        source.open(QIODevice::ReadOnly);
        QString text = QString::fromLatin1(source.readAll());
        for (auto it = substitutions.begin(); it != substitutions.end(); ++it) {
            QString value = it.value();
            if (value.startsWith(QStringLiteral("file:"))) {
                QFile fragment(QStringLiteral(SCENARIO_DIR "/") + value.mid(5));
                fragment.open(QIODevice::ReadOnly);
                value = QString::fromLatin1(fragment.readAll());
            }
            text.replace(QLatin1Char('@') + it.key() + QLatin1Char('@'), value);
        }
        scenarioPath = m_logs.filePath(QFileInfo(scenario).fileName());
        QFile filled(scenarioPath);
        filled.open(QIODevice::WriteOnly);
        filled.write(text.toLatin1());
    }
    m_arguments = QStringList{QStringLiteral("-sf"),
                              scenarioPath,
                              QStringLiteral("-i"),
                              QStringLiteral("127.0.0.1"),
                              QStringLiteral("-p"),
                              QString::number(localPort),
                              QStringLiteral("-m"),
                              QStringLiteral("1"),
                              QStringLiteral("-nostdin"),
                              QStringLiteral("-timeout"),
                              QStringLiteral("25s"),
                              QStringLiteral("-timeout_error"),
                              QStringLiteral("-trace_err"),
                              QStringLiteral("-error_file"),
                              m_logs.filePath(QStringLiteral("errors.log")),
                              QStringLiteral("-trace_msg"),
                              QStringLiteral("-message_file"),
                              m_logs.filePath(QStringLiteral("messages.log"))} +
                  extraArguments;
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

SippProcess::~SippProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool SippProcess::Start()
{
    m_process.start(Executable(), m_arguments);
    if (!m_process.waitForStarted(5000))
        return false;
    // sipp is ready once its port is taken.
    return WaitUntil(
               [this] { return m_process.state() == QProcess::NotRunning || UdpPortIsTaken(m_localPort); },
               5000) &&
           m_process.state() != QProcess::NotRunning;
}

bool SippProcess::Succeeded(int timeoutMs)
{
    const bool ended = WaitUntil([this] { return m_process.state() == QProcess::NotRunning; }, timeoutMs);
    return ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

QString SippProcess::Report() const
{
    QString report = QStringLiteral("sipp ") + m_arguments.join(QLatin1Char(' ')) +
                     QStringLiteral("\nexit code ") + QString::number(m_process.exitCode()) +
                     QLatin1Char('\n');
    for (const QString& name : {QStringLiteral("errors.log"), QStringLiteral("messages.log")}) {
        QFile log(m_logs.filePath(name));
        if (log.open(QIODevice::ReadOnly))
            report += QStringLiteral("--- ") + name + QLatin1Char('\n') +
                      QString::fromLatin1(log.readAll().right(6000));
    }
    return report;
}
