#pragma once

#include <array>
#include <functional>

// The main window's one-second timer: the link check every tick, and once a minute the
// mark resets and the hot list. The counter runs 1 … 601 and wraps to 1, so the minute
// jobs run at ticks 60, 120, … 600 and again 60 after the wrap. The analysis schedule
// check runs every tick while analysis is allowed: it looks at each minute once.
// A job that shows a dialog keeps running while the dialog is open, and the dialog's own
// event loop goes on ticking: a tick meanwhile skips that job (a lost link shows one box,
// not one a second) while the others, and the counter, go on.
class SecondTimer
{
public:
    struct Jobs
    {
        std::function<bool()> checkDatabaseLink; // false when the program ends
        std::function<bool()> autoResetMarks; // is "Автоматичне обновлення поміток" on?
        std::function<void()> resetMarks;
        std::function<bool()> analysisAllowed;
        std::function<void()> checkAnalysisSchedule;
        std::function<bool()> hotPageShown;
        std::function<void()> listHotOrders;
        std::function<void()> showClock;
    };

    explicit SecondTimer(Jobs jobs) : m_jobs(std::move(jobs)) {}

    // One tick; returns whether the minute jobs ran.
    bool tick();
    int counter() const { return m_counter; }

private:
    enum class Job { LinkCheck, ResetMarks, AnalysisSchedule, HotOrders, Clock, Count };
    void runOnce(Job job, const std::function<void()>& body);

    Jobs m_jobs;
    std::array<bool, std::size_t(Job::Count)> m_running{};
    int m_counter = 0;
};
