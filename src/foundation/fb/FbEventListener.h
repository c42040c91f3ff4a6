#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

class FbConnection;
namespace Firebird {
class IEvents;
}

// Waits for named database events and reports each change to the thread the listener
// lives on (the UI thread), in the order the alerts came. The client library calls back
// on its own thread; the callback only copies the counts and queues them.
// Several posts of one event may arrive as one alert. An alert that arrives while the
// listener is being destroyed or registered anew reaches nothing: the callback reaches
// the listener only through a shared mailbox the listener empties before it goes, and
// each registration's alerts carry its number, so late ones of an earlier one are dropped.
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
    struct Mailbox;
    void handle(quint64 registration, const QByteArray& buffer);
    void queue();
    void dropCallback();
    static std::vector<quint32> countsOf(const QByteArray& buffer, int names);

    FbConnection* m_connection = nullptr;
    QStringList m_names;
    QByteArray m_buffer; // event parameter block with the counts last seen
    std::vector<quint32> m_counts;
    bool m_waitingForFirst = false;
    Firebird::IEvents* m_events = nullptr;
    std::shared_ptr<Mailbox> m_mailbox;
    Callback* m_callback = nullptr; // of the current registration; the library may hold it too
    quint64 m_registration = 0;     // number of the current registration, 0 = none
};
