#include "softphone/RegistrationSchedule.h"

#include "platform/Clock.h"
#include "softphone/SipNameAddr.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr qint64 longestSeconds = 10LL * 365 * 24 * 3600;
constexpr qint64 firstRetryT1s = 60;
constexpr qint64 longestRetryT1s = 3600;

// A decimal number of any length, saturated; nothing when the text has no digits.
std::optional<qint64> secondsIn(QByteArrayView text)
{
    qint64 value = 0;
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = std::min(longestSeconds, value * 10 + (text[digits] - '0'));
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

} // namespace

RegistrationSchedule::RegistrationSchedule(const IClock& clock) : m_clock(clock) {}

qint64 RegistrationSchedule::GrantedSeconds(const SipMessage& ok, const QByteArray& contactUri,
                                            qint64 requested)
{
    std::optional<qint64> seconds;
    for (const QByteArray& contact : SipNameAddr::Entries(ok.HeaderValues("Contact")))
        if (SipNameAddr::Uri(contact) == contactUri)
            seconds = secondsIn(SipNameAddr::Parameter(contact, "expires"));
    if (!seconds)
        seconds = secondsIn(ok.HeaderValue("Expires").trimmed());
    return std::clamp<qint64>(seconds.value_or(requested), 1, longestSeconds);
}

int RegistrationSchedule::Confirmed(qint64 grantedSeconds)
{
    m_failures = 0;
    m_confirmedAt = m_clock.now();
    m_lapsesAt = m_confirmedAt.addSecs(grantedSeconds);
    const qint64 refreshMs = std::max<qint64>(1, grantedSeconds / 2) * 1000;
    return static_cast<int>(std::min<qint64>(refreshMs, std::numeric_limits<int>::max()));
}

int RegistrationSchedule::NextRetryMs()
{
    const qint64 t1s = std::min<qint64>(firstRetryT1s << std::min(m_failures, 10), longestRetryT1s);
    ++m_failures;
    return static_cast<int>(std::min<qint64>(t1s * m_t1, std::numeric_limits<int>::max()));
}

void RegistrationSchedule::Reset()
{
    m_failures = 0;
    m_confirmedAt = {};
    m_lapsesAt = {};
}
