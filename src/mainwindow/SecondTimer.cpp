#include "mainwindow/SecondTimer.h"

namespace {

// Marks a job as running for as long as it runs, a dialog it opens included.
class Running
{
public:
    explicit Running(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Running() { m_flag = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& m_flag;
};

bool asked(const std::function<bool()>& question)
{
    return question && question();
}

} // namespace

void SecondTimer::runOnce(Job job, const std::function<void()>& body)
{
    bool& running = m_running[std::size_t(job)];
    if (running || !body)
        return;
    Running mark(running);
    body();
}

bool SecondTimer::tick()
{
    if (m_jobs.checkDatabaseLink && !m_running[std::size_t(Job::LinkCheck)]) {
        Running mark(m_running[std::size_t(Job::LinkCheck)]);
        if (!m_jobs.checkDatabaseLink())
            return false;
    }
    m_counter = m_counter <= 600 ? m_counter + 1 : 1;
    const bool minute = m_counter % 60 == 0;
    if (minute) {
        if (asked(m_jobs.autoResetMarks))
            runOnce(Job::ResetMarks, m_jobs.resetMarks);
        if (asked(m_jobs.hotPageShown))
            runOnce(Job::HotOrders, m_jobs.listHotOrders);
    }
    // Every tick, not on the minute step: the step passes over one minute in ten, and
    // the check itself remembers the minutes it has looked at.
    if (asked(m_jobs.analysisAllowed))
        runOnce(Job::AnalysisSchedule, m_jobs.checkAnalysisSchedule);
    runOnce(Job::Clock, m_jobs.showClock);
    return minute;
}
