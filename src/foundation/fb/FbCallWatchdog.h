#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Gives a call into the client library a deadline. A call on a half-open TCP link waits
// for an answer that never comes (the kernel keeps the link for minutes, and the client
// library has no receive timeout of its own), so a thread of its own watches the clock
// and runs the expiry action, which closes the link from our side and lets the blocked
// call fail. The action runs under the watchdog's lock: once disarm() has returned it is
// neither running nor will it run for that call.
class FbCallWatchdog
{
public:
    explicit FbCallWatchdog(std::function<void()> expire);
    ~FbCallWatchdog();
    FbCallWatchdog(const FbCallWatchdog&) = delete;
    FbCallWatchdog& operator=(const FbCallWatchdog&) = delete;

    void arm(std::chrono::milliseconds limit);
    void disarm();
    // Whether the action ran since the last arm().
    bool expired() const { return m_expired; }

private:
    void run();

    std::function<void()> m_expire;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<std::chrono::steady_clock::time_point> m_deadline;
    bool m_stopping = false;
    std::atomic<bool> m_expired{false};
    std::thread m_thread; // started at the first arm()
};
