#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// Sends a message again over UDP until it is answered (RFC 3261 section 17.1;
// the same schedule resends a 2xx to INVITE until its ACK, section 13.3.1.4):
// intervals start at T1 and double; for INVITE without a ceiling (timer A), for
// other requests up to T2 (timer E), and at T2 once a provisional response came.
// After 64*T1 without a final response the transaction has timed out (timers B, F).
class RetransmitTimer : public QObject
{
    Q_OBJECT

public:
    using Resend = std::function<void()>;
    using TimedOut = std::function<void()>;

    explicit RetransmitTimer(QObject* parent = nullptr);

    // Base interval T1 (500 ms by default; tests shorten it).
    void SetT1(int milliseconds) { m_t1 = milliseconds; }
    int T1() const { return m_t1; }

    // uncapped: intervals keep doubling (INVITE, timer A); otherwise they stop at T2.
    void Start(bool uncapped, Resend resend, TimedOut timedOut);
    // A provisional response: an uncapped (INVITE) transaction stops resending,
    // others slow down to T2.
    void Provisional();
    void Stop();
    bool IsActive() const { return m_resendTimer.isActive() || m_deadline.isActive(); }

private:
    void resendNow();
    void giveUp();

    QTimer m_resendTimer;
    QTimer m_deadline;
    Resend m_resend;
    TimedOut m_timedOut;
    int m_t1 = 500;
    int m_interval = 500;
    bool m_uncapped = false;
};
