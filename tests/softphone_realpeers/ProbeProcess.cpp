#include "ProbeProcess.h"

#include "../softphone/SoftphoneTestSupport.h"

ProbeProcess::~ProbeProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool ProbeProcess::Start(const QStringList& arguments)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral(SIPPROBE_PATH), arguments);
    return m_process.waitForStarted(5000);
}

bool ProbeProcess::WaitForOutput(const QString& text, int timeoutMs)
{
    return WaitUntil([&] { return Output().contains(text); }, timeoutMs);
}

int ProbeProcess::Finish(int timeoutMs)
{
    if (!WaitUntil([this] { return m_process.state() == QProcess::NotRunning; }, timeoutMs))
        return -1;
    Output();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

const QString& ProbeProcess::Output()
{
    m_output += QString::fromLocal8Bit(m_process.readAll());
    return m_output;
}
