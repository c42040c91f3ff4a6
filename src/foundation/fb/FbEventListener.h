#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <vector>

class FbConnection;
namespace Firebird {
class IEvents;
}

// Waits for named database events and reports each change to the thread the listener
// lives on (the UI thread), in the order the alerts came. The client library calls back
// on its own thread; the callback only copies the counts and queues them.
// Several posts of one event may arrive as one alert.
class FbEventListener : public QObject
{
    Q_OBJECT
public:
    explicit FbEventListener(QObject* parent = nullptr);
    ~FbEventListener() override;

    // Registers the names (at most 15) on the connection; throws DbError.
    void registerEvents(FbConnection& connection, const QStringList& names);
    void cancel();
    const QStringList& names() const { return m_names; }
    // The first call after registering has told the counts as they stand: from now on
    // every post is reported.
    bool ready() const { return m_events && !m_waitingForFirst; }

signals:
    // The names whose counts changed since the last alert, in registration order.
    void eventsAlert(const QStringList& names);

private:
    class Callback;
    void handle(const QByteArray& buffer);
    void queue();
    static std::vector<quint32> countsOf(const QByteArray& buffer, int names);

    FbConnection* m_connection = nullptr;
    QStringList m_names;
    QByteArray m_buffer; // event parameter block with the counts last seen
    std::vector<quint32> m_counts;
    bool m_waitingForFirst = false;
    Firebird::IEvents* m_events = nullptr;
    Callback* m_callback = nullptr;
};
