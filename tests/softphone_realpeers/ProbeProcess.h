#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The headless SIP probe run beside a test that keeps driving the other peers: its
// output is read as it comes while the event loop runs.
class ProbeProcess
{
public:
    ~ProbeProcess();

    bool Start(const QStringList& arguments);
    // Waits until the probe has printed the text; false on time-out.
    bool WaitForOutput(const QString& text, int timeoutMs = 10000);
    // Waits for the probe to end by itself; its exit code, or -1 when it did not end.
    int Finish(int timeoutMs = 30000);
    const QString& Output();

private:
    QProcess m_process;
    QString m_output;
};
