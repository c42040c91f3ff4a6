#include "softphone/RetransmitTimer.h"

#include <algorithm>

namespace {
constexpr int t2Multiple = 8; // T2 = 4 s when T1 = 500 ms
constexpr int timeoutMultiple = 64;
} // namespace

RetransmitTimer::RetransmitTimer(QObject* parent) : QObject(parent)
{
    m_resendTimer.setSingleShot(true);
    m_deadline.setSingleShot(true);
    connect(&m_resendTimer, &QTimer::timeout, this, &RetransmitTimer::resendNow);
    connect(&m_deadline, &QTimer::timeout, this, &RetransmitTimer::giveUp);
}

void RetransmitTimer::Start(bool uncapped, Resend resend, TimedOut timedOut)
{
    m_uncapped = uncapped;
    m_resend = std::move(resend);
    m_timedOut = std::move(timedOut);
    m_interval = m_t1;
    m_resendTimer.start(m_interval);
    m_deadline.start(timeoutMultiple * m_t1);
}

void RetransmitTimer::Provisional()
{
    if (m_uncapped) {
        // Timer B no longer runs once the INVITE is proceeding (RFC 3261 17.1.1.2).
        Stop();
        return;
    }
    if (m_resendTimer.isActive()) {
        m_interval = t2Multiple * m_t1;
        m_resendTimer.start(m_interval);
    }
}

void RetransmitTimer::Stop()
{
    m_resendTimer.stop();
    m_deadline.stop();
}

void RetransmitTimer::resendNow()
{
    if (m_resend)
        m_resend();
    m_interval = m_uncapped ? m_interval * 2 : std::min(m_interval * 2, t2Multiple * m_t1);
    if (m_deadline.isActive())
        m_resendTimer.start(m_interval);
}

void RetransmitTimer::giveUp()
{
    m_resendTimer.stop();
    if (m_timedOut)
        m_timedOut();
}
