#pragma once

#include <QByteArray>
#include <memory>
#include <vector>

class TSession;

// The dialogs of accepted incoming calls, owned here. A removed session is kept
// until ReleaseRemoved, because it may be removed from inside one of its own timers.
class TSessionList
{
public:
    TSessionList();
    ~TSessionList();

    TSession* Add(std::unique_ptr<TSession> session);
    // First session with exactly this Call-ID, or nullptr.
    TSession* Find(const QByteArray& callId) const;
    void Remove(TSession* session);
    void Clear();
    void ReleaseRemoved();
    int Count() const { return static_cast<int>(m_sessions.size()); }

private:
    std::vector<std::unique_ptr<TSession>> m_sessions;
    std::vector<std::unique_ptr<TSession>> m_removed;
};
