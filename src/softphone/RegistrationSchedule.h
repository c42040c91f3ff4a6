#pragma once

#include "softphone/SipMessage.h"

#include <QDateTime>

class IClock;

// When the registration was confirmed, when it lapses, when to refresh it and how
// long to wait before trying again after a refresh failed.
class RegistrationSchedule
{
public:
    explicit RegistrationSchedule(const IClock& clock);

    // Base of the back-off: the first retry waits 60 T1 (30 s with T1 = 500 ms) and
    // each further one twice as long, up to 3600 T1 (30 minutes), the schedule RFC
    // 5626 section 4.5 gives for re-establishing a flow.
    void SetT1(int milliseconds) { m_t1 = milliseconds; }

    // Seconds the registrar granted in a 2xx: the "expires" parameter of our own
    // Contact, else the Expires header, else what we asked for (RFC 3261 section
    // 10.2.4). Any size is read; the result lies between 1 second and 10 years.
    static qint64 GrantedSeconds(const SipMessage& ok, const QByteArray& contactUri, qint64 requested);

    // A 2xx arrived: remembers the time and returns the milliseconds until the
    // refresh, halfway through the granted time and never more than fits a timer.
    int Confirmed(qint64 grantedSeconds);
    // A refresh failed: the milliseconds until the next attempt.
    int NextRetryMs();
    void Reset();

    const QDateTime& ConfirmedAt() const { return m_confirmedAt; }
    const QDateTime& LapsesAt() const { return m_lapsesAt; }

private:
    const IClock& m_clock;
    int m_t1 = 500;
    int m_failures = 0;
    QDateTime m_confirmedAt;
    QDateTime m_lapsesAt;
};
