#pragma once

#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// One run of sipp with a scenario from the scenarios folder, on loopback. While the
// test waits for it the Qt event loop keeps running, so the softphone under test
// (on this thread) answers sipp in the meantime.
class SippProcess
{
public:
    // The sipp program, or empty when it is not installed.
    static QString Executable();
    // The G.711 A-law recording shipped with sipp (from its package's file list),
    // or empty when there is none.
    static QString AlawRecording();

    // Words written @NAME@ in the scenario are replaced by the given texts first (sipp
    // reads status codes when it loads a scenario, so they cannot be keywords); a text
    // "file:<path>" stands for that file of the scenarios folder.
    SippProcess(const QString& scenario, quint16 localPort, const QStringList& extraArguments = {},
                const QMap<QString, QString>& substitutions = {});
    ~SippProcess();

    // Starts sipp and waits until it listens on its port.
    bool Start();
    // True when sipp ended by itself within the time with exit code 0 (every call
    // of the scenario reached its end).
    bool Succeeded(int timeoutMs = 20000);
    // What sipp printed and its error log, for a failure message.
    QString Report() const;

private:
    QProcess m_process;
    QTemporaryDir m_logs;
    QStringList m_arguments;
    quint16 m_localPort;
};
