#include "foundation/fb/FbCallWatchdog.h"

FbCallWatchdog::FbCallWatchdog(std::function<void()> expire) : m_expire(std::move(expire)) {}

FbCallWatchdog::~FbCallWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void FbCallWatchdog::arm(std::chrono::milliseconds limit)
{
    {
        std::lock_guard lock(m_mutex);
        m_deadline = std::chrono::steady_clock::now() + limit;
        m_expired = false;
        if (!m_thread.joinable())
            m_thread = std::thread(&FbCallWatchdog::run, this);
    }
    m_wake.notify_all();
}

void FbCallWatchdog::disarm()
{
    std::lock_guard lock(m_mutex);
    m_deadline.reset();
}

void FbCallWatchdog::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (!m_deadline) {
            m_wake.wait(lock);
            continue;
        }
        const auto deadline = *m_deadline;
        if (m_wake.wait_until(lock, deadline) == std::cv_status::timeout && m_deadline == deadline) {
            m_deadline.reset();
            m_expired = true;
            m_expire();
        }
    }
}
