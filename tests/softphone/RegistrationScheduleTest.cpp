#include "softphone/RegistrationSchedule.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

SipMessage okWith(const QByteArray& headers)
{
    return *SipMessage::Frame("SIP/2.0 200 OK\r\nCall-ID: c\r\n" + headers + "Content-Length: 0\r\n\r\n");
}

const QByteArray ours = "sip:101@10.0.0.5:46501";

} // namespace

TEST(RegistrationTimes, OurOwnContactsExpiresWinsOverTheHeader)
{
    const SipMessage ok =
        okWith("Contact: <sip:101@10.0.0.9:5060>;expires=3000, <sip:101@10.0.0.5:46501>;expires=120\r\n"
               "Expires: 900\r\n");
    EXPECT_EQ(RegistrationSchedule::GrantedSeconds(ok, ours, 1800), 120);
    EXPECT_EQ(RegistrationSchedule::GrantedSeconds(
                  okWith("Contact: <sip:other@h>;expires=5\r\nExpires: 900\r\n"), ours, 1800),
              900);
    EXPECT_EQ(RegistrationSchedule::GrantedSeconds(okWith(""), ours, 1800), 1800);
}

TEST(RegistrationTimes, AnyExpiresIsClampedSoTheRefreshTimerRuns)
{
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    RegistrationSchedule schedule(clock);
    const qint64 huge =
        RegistrationSchedule::GrantedSeconds(okWith("Expires: 99999999999999999999999\r\n"), ours, 1800);
    EXPECT_EQ(huge, 10LL * 365 * 24 * 3600);
    // Past 4.29 million seconds the milliseconds no longer fit 32 bits.
    EXPECT_EQ(schedule.Confirmed(huge), std::numeric_limits<int>::max());
    EXPECT_EQ(schedule.Confirmed(4'300'000), std::numeric_limits<int>::max());
    EXPECT_EQ(schedule.Confirmed(3600), 1'800'000);
    EXPECT_EQ(schedule.ConfirmedAt(), clock.now());
    EXPECT_EQ(schedule.LapsesAt(), clock.now().addSecs(3600));
    EXPECT_EQ(RegistrationSchedule::GrantedSeconds(okWith("Expires: 0\r\n"), ours, 1800), 1);
    EXPECT_EQ(schedule.Confirmed(1), 1000);
}

TEST(RegistrationTimes, RetriesBackOffFromSixtyToThirtySixHundredT1)
{
    SystemClock clock;
    RegistrationSchedule schedule(clock);
    schedule.SetT1(500);
    std::vector<int> waits;
    for (int i = 0; i < 8; ++i)
        waits.push_back(schedule.NextRetryMs());
    EXPECT_EQ(waits,
              (std::vector<int>{30'000, 60'000, 120'000, 240'000, 480'000, 960'000, 1'800'000, 1'800'000}));
    schedule.Confirmed(60);
    EXPECT_EQ(schedule.NextRetryMs(), 30'000) << "a success starts the back-off again";
}
