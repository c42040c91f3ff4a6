#include "foundation/fb/FbEventListener.h"

#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbStatus.h"

#include <QDebug>
#include <atomic>
#include <mutex>

// What the callbacks share with the listener: its address while it lives. The client
// library calls back on a thread of its own, at any time, also while the listener is
// being destroyed on the UI thread; the lock keeps the listener alive for as long as a
// callback posts to it.
struct FbEventListener::Mailbox
{
    std::mutex mutex;
    FbEventListener* owner = nullptr;
};

// The object the client library calls, one per registration. It owns nothing of the
// listener, so it may outlive it for as long as the library holds a reference; after a
// cancel the library may still call it once with an empty buffer, which is ignored.
class FbEventListener::Callback
    : public Firebird::IEventCallbackImpl<FbEventListener::Callback, Firebird::ThrowStatusWrapper>
{
public:
    Callback(std::shared_ptr<Mailbox> mailbox, quint64 registration)
        : m_mailbox(std::move(mailbox)), m_registration(registration)
    {
    }
    void addRef() override { ++m_refs; }
    int release() override
    {
        const int left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    void eventCallbackFunction(unsigned length, const ISC_UCHAR* events) override
    {
        if (length == 0 || !events)
            return;
        const QByteArray copy(reinterpret_cast<const char*>(events), int(length));
        const std::lock_guard<std::mutex> lock(m_mailbox->mutex);
        FbEventListener* owner = m_mailbox->owner;
        if (!owner)
            return;
        // Delivered only while the owner lives: a destroyed object's posted calls are dropped.
        QMetaObject::invokeMethod(
            owner, [owner, registration = m_registration, copy] { owner->handle(registration, copy); },
            Qt::QueuedConnection);
    }

private:
    std::shared_ptr<Mailbox> m_mailbox;
    const quint64 m_registration;
    std::atomic<int> m_refs{1};
};

FbEventListener::FbEventListener(QObject* parent) : QObject(parent), m_mailbox(std::make_shared<Mailbox>())
{
    m_mailbox->owner = this;
}

FbEventListener::~FbEventListener()
{
    {
        const std::lock_guard<std::mutex> lock(m_mailbox->mutex);
        m_mailbox->owner = nullptr;
    }
    cancel();
}

void FbEventListener::dropCallback()
{
    if (m_callback)
        m_callback->release();
    m_callback = nullptr;
}

void FbEventListener::registerEvents(FbConnection& connection, const QStringList& names)
{
    if (names.size() > 15)
        throw DbError(QStringLiteral("Забагато подій в одному блоці"));
    cancel();
    m_connection = &connection;
    m_names = names;
    // Event parameter block: version 1, then per name its length, the name and a count.
    m_buffer.clear();
    m_buffer.append(char(1));
    for (const QString& name : names) {
        const QByteArray latin = name.toLatin1();
        m_buffer.append(char(latin.size()));
        m_buffer.append(latin);
        m_buffer.append(4, '\0');
    }
    m_counts.assign(std::size_t(names.size()), 0);
    m_waitingForFirst = true;
    static std::atomic<quint64> registrations{0};
    m_registration = ++registrations;
    m_callback = new Callback(m_mailbox, m_registration);
    queue();
}

void FbEventListener::queue()
{
    FbStatus status;
    // The request that fired is spent; the remote provider must forget it before the
    // next one is queued, or the new request is dropped with it.
    if (m_events) {
        m_events->release();
        m_events = nullptr;
    }
    FbConnection::CallScope scope(*m_connection);
    m_events = status.run([&](auto* s) {
        return m_connection->attachment()->queEvents(
            s, m_callback, unsigned(m_buffer.size()),
            reinterpret_cast<const unsigned char*>(m_buffer.constData()));
    });
}

void FbEventListener::cancel()
{
    m_registration = 0; // alerts still on their way belong to no registration now
    if (!m_events) {
        dropCallback();
        return;
    }
    if (m_connection && m_connection->isConnected()) {
        FbStatus status;
        try {
            FbConnection::CallScope scope(*m_connection);
            status.run([&](auto* s) {
                m_events->cancel(s);
                return 0;
            });
        } catch (const DbError&) {
        }
    }
    m_events->release();
    m_events = nullptr;
    dropCallback();
}

std::vector<quint32> FbEventListener::countsOf(const QByteArray& buffer, int names)
{
    std::vector<quint32> counts;
    int pos = 1;
    for (int i = 0; i < names && pos < buffer.size(); ++i) {
        const int length = static_cast<unsigned char>(buffer[pos]);
        pos += 1 + length;
        if (pos + 4 > buffer.size())
            break;
        const auto* p = reinterpret_cast<const unsigned char*>(buffer.constData() + pos);
        counts.push_back(quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24);
        pos += 4;
    }
    return counts;
}

void FbEventListener::handle(quint64 registration, const QByteArray& buffer)
{
    if (qEnvironmentVariableIsSet("TAXI_DEBUG_EVENTS"))
        qDebug() << "event callback" << registration << buffer.toHex();
    if (!m_events || registration != m_registration || buffer.size() != m_buffer.size())
        return; // cancelled or registered anew meanwhile, or not our block
    const std::vector<quint32> counts = countsOf(buffer, int(m_names.size()));
    if (counts.size() != m_counts.size())
        return;
    QStringList changed;
    if (m_waitingForFirst) {
        m_waitingForFirst = false; // the first call only tells the counts as they stand
    } else {
        for (std::size_t i = 0; i < counts.size(); ++i)
            if (counts[i] != m_counts[i])
                changed << m_names[int(i)];
    }
    m_counts = counts;
    m_buffer = buffer;
    // Queue again before reacting, so posts made while the reactions run are not missed.
    try {
        queue();
    } catch (const DbError&) {
        // The link is gone; the link check of the main window ends the program.
    }
    if (!changed.isEmpty())
        emit eventsAlert(changed);
}
