#include "support/peers/BaresipControl.h"

#include "support/WaitFor.h"

#include <QJsonDocument>

bool BaresipControl::Connect(quint16 port, int timeoutMs)
{
    // The module listens a moment after the program has started.
    return waitFor(
        [&] {
            if (m_socket.state() == QAbstractSocket::ConnectedState)
                return true;
            if (m_socket.state() == QAbstractSocket::UnconnectedState)
                m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
            return m_socket.waitForConnected(100);
        },
        timeoutMs);
}

bool BaresipControl::Command(const QString& command, const QString& params, QString* data, int timeoutMs)
{
    const QString token = QString::number(m_nextToken++);
    const QByteArray json = QJsonDocument(QJsonObject{{QStringLiteral("command"), command},
                                                      {QStringLiteral("params"), params},
                                                      {QStringLiteral("token"), token}})
                                .toJson(QJsonDocument::Compact);
    m_socket.write(QByteArray::number(json.size()) + ':' + json + ',');
    m_socket.flush();
    QJsonObject reply;
    const bool replied = waitFor(
        [&] {
            readFrames();
            for (auto it = m_replies.begin(); it != m_replies.end(); ++it)
                if (it->value(QStringLiteral("token")).toString() == token) {
                    reply = *it;
                    m_replies.erase(it);
                    return true;
                }
            return false;
        },
        timeoutMs);
    if (data)
        *data = reply.value(QStringLiteral("data")).toString();
    return replied && reply.value(QStringLiteral("ok")).toBool();
}

QJsonObject BaresipControl::WaitForEvent(const QString& type, int timeoutMs)
{
    QJsonObject found;
    waitFor(
        [&] {
            readFrames();
            for (std::size_t i = m_eventCursor; i < m_events.size(); ++i)
                if (m_events[i].value(QStringLiteral("type")).toString() == type) {
                    found = m_events[i];
                    m_eventCursor = i + 1;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

QString BaresipControl::EventLog() const
{
    QString log;
    for (const QJsonObject& event : m_events)
        log += event.value(QStringLiteral("type")).toString() + QLatin1Char(' ') +
               event.value(QStringLiteral("param")).toString() + QLatin1Char('\n');
    return log;
}

void BaresipControl::readFrames()
{
    m_buffer += m_socket.readAll();
    // A netstring: decimal length, ":", that many bytes, ",".
    for (;;) {
        const qsizetype colon = m_buffer.indexOf(':');
        if (colon <= 0)
            return;
        bool numeric = false;
        const qsizetype length = m_buffer.left(colon).toLongLong(&numeric);
        if (!numeric || length < 0) {
            m_buffer.clear();
            return;
        }
        if (m_buffer.size() < colon + 1 + length + 1)
            return;
        const QJsonObject frame = QJsonDocument::fromJson(m_buffer.mid(colon + 1, length)).object();
        m_buffer.remove(0, colon + 1 + length + 1);
        if (frame.value(QStringLiteral("event")).toBool())
            m_events.push_back(frame);
        else if (frame.value(QStringLiteral("response")).toBool())
            m_replies.push_back(frame);
    }
}
