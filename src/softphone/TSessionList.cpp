#include "softphone/TSessionList.h"

#include "softphone/TSession.h"

#include <algorithm>

TSessionList::TSessionList() = default;
TSessionList::~TSessionList() = default;

TSession* TSessionList::Add(std::unique_ptr<TSession> session)
{
    m_sessions.push_back(std::move(session));
    return m_sessions.back().get();
}

TSession* TSessionList::Find(const QByteArray& callId) const
{
    for (const auto& session : m_sessions)
        if (session->CallId() == callId)
            return session.get();
    return nullptr;
}

void TSessionList::Remove(TSession* session)
{
    const auto found = std::find_if(m_sessions.begin(), m_sessions.end(),
                                    [session](const auto& candidate) { return candidate.get() == session; });
    if (found == m_sessions.end())
        return;
    (*found)->StopTimers();
    m_removed.push_back(std::move(*found));
    m_sessions.erase(found);
}

void TSessionList::Clear()
{
    for (auto& session : m_sessions) {
        session->StopTimers();
        m_removed.push_back(std::move(session));
    }
    m_sessions.clear();
}

void TSessionList::ReleaseRemoved()
{
    m_removed.clear();
}
