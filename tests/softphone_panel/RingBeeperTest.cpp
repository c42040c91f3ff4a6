#include "orders/intake/RingBeeper.h"
#include "platform/audio/AudioFormat.h"
#include "platform/audio/FakeAudioSystem.h"

#include <QtEndian>
#include <gtest/gtest.h>

TEST(RingBeeper, BeepsHalfASecondOfToneATickAndStopsByItselfAfterThirtyOneBeeps)
{
    FakeAudioSystem audio;
    RingBeeper ring(audio);
    ring.start();
    EXPECT_TRUE(ring.running());
    EXPECT_EQ(audio.lastPlayback(), nullptr); // the first beep comes with the first tick

    for (int i = 0; i < 30; ++i)
        ring.tick();
    EXPECT_TRUE(ring.running());
    ring.tick();
    EXPECT_EQ(ring.beeps(), RingBeeper::MaxBeeps);
    EXPECT_FALSE(ring.running());
    ring.tick(); // a tick already queued when the timer stopped
    EXPECT_EQ(ring.beeps(), RingBeeper::MaxBeeps);

    // Each beep on a fresh default output: 500 ms of 16-bit audio.
    ASSERT_NE(audio.lastPlayback(), nullptr);
    EXPECT_EQ(audio.lastPlayback()->writtenBytes(), AudioFormat::BytesPerSecond / 2);
}

TEST(RingBeeper, TheToneIsFiveHundredHertz)
{
    const QByteArray tone = RingBeeper::tone();
    ASSERT_EQ(tone.size(), AudioFormat::BytesPerSecond / 2);
    // 500 Hz at 8000 samples a second: 16 samples a period, 250 periods, each with one
    // rising zero crossing.
    int rising = 0;
    const auto sample = [&](int i) { return qFromLittleEndian<qint16>(tone.constData() + 2 * i); };
    for (int i = 1; i < tone.size() / 2; ++i)
        if (sample(i - 1) < 0 && sample(i) >= 0)
            ++rising;
    EXPECT_NEAR(rising, 250, 1);
}

TEST(RingBeeper, StoppingEndsTheRingAndAStartCountsAgain)
{
    FakeAudioSystem audio;
    RingBeeper ring(audio);
    ring.start();
    ring.tick();
    ring.stop();
    EXPECT_FALSE(ring.running());
    ring.start();
    EXPECT_EQ(ring.beeps(), 0);
}
