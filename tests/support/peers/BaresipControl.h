#pragma once

#include <QJsonObject>
#include <QString>
#include <QTcpSocket>
#include <vector>

// The control connection of a baresip (its ctrl_tcp module): commands and their
// replies as netstring-framed JSON, with the telephone's events interleaved. Events
// reach only connections that are open when they happen, so connect first.
class BaresipControl
{
public:
    bool Connect(quint16 port, int timeoutMs = 5000);
    // Sends a command and waits for its reply; false when none came or it was not ok.
    // The reply's text goes to data.
    bool Command(const QString& command, const QString& params = {}, QString* data = nullptr,
                 int timeoutMs = 5000);
    // The next event of this type after the one last waited for (events in between are
    // passed over); an empty object on time-out.
    QJsonObject WaitForEvent(const QString& type, int timeoutMs = 10000);
    // Every event received so far, one line each, for a failure message.
    QString EventLog() const;

private:
    void readFrames();

    QTcpSocket m_socket;
    QByteArray m_buffer;
    std::vector<QJsonObject> m_events;
    std::vector<QJsonObject> m_replies;
    std::size_t m_eventCursor = 0;
    int m_nextToken = 1;
};
