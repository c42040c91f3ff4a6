#include "orders/intake/SoftphoneLamp.h"
#include "orders/intake/SoftphoneStateEffects.h"

#include <gtest/gtest.h>

namespace {
using Strip = SoftphoneStateEffects::Strip;

SoftphoneStateEffects effects(int state, SoftphoneStateFacts facts = {})
{
    return SoftphoneStateEffects::forState(state, facts);
}
QString line(int state, SoftphoneStateFacts facts = {})
{
    return effects(state, facts).statusLine.value_or(QStringLiteral("<unchanged>"));
}
SoftphoneStateFacts afterRegistration()
{
    SoftphoneStateFacts facts;
    facts.lastRequestWasRegistration = true;
    return facts;
}
SoftphoneStateFacts withReason(const QString& reason)
{
    SoftphoneStateFacts facts;
    facts.lastReason = reason;
    return facts;
}
SoftphoneStateFacts fromCaller(const QString& caller)
{
    SoftphoneStateFacts facts;
    facts.caller = caller;
    return facts;
}
} // namespace

TEST(SoftphoneStateEffects, ShowsTheStatusTextOfEachState)
{
    EXPECT_EQ(line(0), QStringLiteral("Немає підключення"));
    EXPECT_EQ(line(1), QStringLiteral("Спроба зєднання"));
    EXPECT_EQ(line(2), QStringLiteral(".........")) << "the registration text gives way to the idle text";
    EXPECT_EQ(line(3), QStringLiteral("Сервер чекає ..."));
    EXPECT_EQ(line(5), QStringLiteral("Процес звінка ..."));
    EXPECT_EQ(line(6), QStringLiteral("Невірний пароль / логін ..."));
    EXPECT_EQ(line(7), QStringLiteral("Звінок ..."));
    EXPECT_EQ(line(8), QStringLiteral("Відкладення виклику ..."));
    EXPECT_EQ(line(9), QStringLiteral("Виклик не вдачний, перевірте браузер"));
    EXPECT_EQ(line(9, afterRegistration()), QStringLiteral("Немає зєднання, перевірте браузер"));
    EXPECT_EQ(line(10, withReason(QStringLiteral("408 Request Timeout"))),
              QStringLiteral("Сервер не доступний ... : 408 Request Timeout"));
    EXPECT_EQ(line(11, withReason(QStringLiteral("x"))), QStringLiteral("Загальна помилка ... : x"));
    EXPECT_EQ(line(13), QStringLiteral("Опонент кладе трубку ..."));
    EXPECT_EQ(line(14), QStringLiteral("Опонент повісив трубку ..."));
    EXPECT_EQ(line(16), QStringLiteral("Відмова виклику ..."));
    for (int unchanged : {4, 12, 15, 17, 19, -1})
        EXPECT_EQ(line(unchanged), QStringLiteral("<unchanged>")) << unchanged;
}

TEST(SoftphoneStateEffects, AMissedCallShowsTheCallerNotTheLastDialledNumber)
{
    const SoftphoneStateEffects missed = effects(18, fromCaller(QStringLiteral("0671234567")));
    EXPECT_EQ(missed.statusLine, QStringLiteral("Пропущений виклик 0671234567"));
    EXPECT_TRUE(missed.countMissed);
    EXPECT_TRUE(missed.stopRinging);
}

TEST(SoftphoneStateEffects, DrivesTheStripCountersRingAndTimer)
{
    EXPECT_EQ(effects(0).strip, Strip::Collapsed);
    EXPECT_EQ(effects(2).strip, Strip::Expanded);
    EXPECT_EQ(effects(10).strip, Strip::Collapsed);
    EXPECT_EQ(effects(11).strip, Strip::Collapsed);
    EXPECT_EQ(effects(1).strip, Strip::Unchanged);
    EXPECT_TRUE(effects(7).countOutgoing);
    EXPECT_TRUE(effects(12).startCallTimer);
    EXPECT_TRUE(effects(15).incomingCall);
    EXPECT_TRUE(effects(16).stopRinging);
    EXPECT_TRUE(effects(17).stopRinging);
    for (int state = 0; state <= 18; ++state) {
        const SoftphoneStateEffects e = effects(state);
        EXPECT_EQ(e.countOutgoing, state == 7) << state;
        EXPECT_EQ(e.countMissed, state == 18) << state;
        EXPECT_EQ(e.stopRinging, state >= 16) << state;
        EXPECT_EQ(e.incomingCall, state == 15) << state;
    }
}

TEST(SoftphoneStateEffects, CaptionsShowTheExtension)
{
    EXPECT_EQ(softphoneNotSetCaption(), QStringLiteral("  Ваш внутрішній номер : [НЕ ЗАДАНО]"));
    EXPECT_EQ(softphoneRegisteredCaption(QStringLiteral("201"), QStringLiteral("10.0.0.5")),
              QStringLiteral("  Ваш внутрішній номер : [201] > 201@10.0.0.5  "));
}

TEST(SoftphoneLamp, TogglesBetweenTheNoticesColourAndWhite)
{
    using Colour = SoftphoneLamp::Colour;
    SoftphoneLamp lamp;
    EXPECT_EQ(lamp.colour(), Colour::White);
    lamp.showAudioStatus(1);
    EXPECT_EQ(lamp.colour(), Colour::Green);
    lamp.showAudioStatus(1);
    EXPECT_EQ(lamp.colour(), Colour::White) << "a repeated notice blinks";
    lamp.showAudioStatus(1);
    EXPECT_EQ(lamp.colour(), Colour::Green);
    lamp.showAudioStatus(3);
    EXPECT_EQ(lamp.colour(), Colour::Red) << "another colour shows at once";
    lamp.showAudioStatus(2);
    EXPECT_EQ(lamp.colour(), Colour::White);
    lamp.showAudioStatus(2);
    EXPECT_EQ(lamp.colour(), Colour::White) << "white stays white";

    EXPECT_EQ(SoftphoneLamp::colourOf(0), Colour::Yellow);
    for (int other : {4, 5, 6, 7, 8, -1, 1000})
        EXPECT_EQ(SoftphoneLamp::colourOf(other), Colour::Black) << other;
}

TEST(SoftphoneLamp, ShowsAudioFaultsOnTheStatusLine)
{
    EXPECT_EQ(SoftphoneLamp::statusLineText(5, 0), QStringLiteral("Не вистачає буфера"));
    EXPECT_EQ(SoftphoneLamp::statusLineText(7, 32), QStringLiteral("Помилка Windows # 32"));
    EXPECT_EQ(SoftphoneLamp::statusLineText(8, 4), QStringLiteral("Помилка 4"));
    EXPECT_FALSE(SoftphoneLamp::statusLineText(8, 252).has_value());
    for (int quiet : {0, 1, 2, 3, 4, 6, 9})
        EXPECT_FALSE(SoftphoneLamp::statusLineText(quiet, 7).has_value()) << quiet;
}

TEST(SoftphoneLamp, HintShowsHoursOnlyAfterAnHour)
{
    EXPECT_EQ(SoftphoneLamp::callDuration(0), QStringLiteral("00:00"));
    EXPECT_EQ(SoftphoneLamp::callDuration(999), QStringLiteral("00:00"));
    EXPECT_EQ(SoftphoneLamp::callDuration(65'000), QStringLiteral("01:05"));
    EXPECT_EQ(SoftphoneLamp::callDuration(3'599'999), QStringLiteral("59:59"));
    EXPECT_EQ(SoftphoneLamp::callDuration(3'600'000), QStringLiteral("1:00:00"));
    EXPECT_EQ(SoftphoneLamp::callDuration(36'000'000 + 61'000), QStringLiteral("10:01:01"));
    EXPECT_EQ(SoftphoneLamp::callDuration(-5'000), QStringLiteral("00:00")) << "a clock set back";
}
