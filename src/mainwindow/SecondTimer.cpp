#include "mainwindow/SecondTimer.h"

namespace {
bool asked(const std::function<bool()>& question)
{
    return question && question();
}
void run(const std::function<void()>& job)
{
    if (job)
        job();
}
} // namespace

bool SecondTimer::tick()
{
    if (m_jobs.checkDatabaseLink && !m_jobs.checkDatabaseLink())
        return false;
    m_counter = m_counter <= 600 ? m_counter + 1 : 1;
    const bool minute = m_counter % 60 == 0;
    if (minute) {
        if (asked(m_jobs.autoResetMarks))
            run(m_jobs.resetMarks);
        if (asked(m_jobs.analysisAllowed))
            run(m_jobs.checkAnalysisSchedule);
        if (asked(m_jobs.hotPageShown))
            run(m_jobs.listHotOrders);
    }
    run(m_jobs.showClock);
    return minute;
}
