#include "orders/intake/SilenceGate.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {
// 16-bit little-endian PCM of `count` samples of `value`, then the given samples.
QByteArray pcm(int count, qint16 value, std::initializer_list<qint16> tail = {})
{
    QByteArray bytes;
    auto put = [&bytes](qint16 s) {
        bytes.append(static_cast<char>(s & 0xff));
        bytes.append(static_cast<char>((s >> 8) & 0xff));
    };
    for (int i = 0; i < count; ++i)
        put(value);
    for (qint16 s : tail)
        put(s);
    return bytes;
}
} // namespace

TEST(SilenceGate, SendsNothingForSilence)
{
    EXPECT_TRUE(SilenceGate::isSilent(pcm(240, 0)));
    EXPECT_TRUE(SilenceGate::isSilent(pcm(240, 983))) << "983 * 50 / 32767 rounds to 1";
    EXPECT_TRUE(SilenceGate::isSilent(pcm(240, -983)));
    EXPECT_FALSE(SilenceGate::isSilent(pcm(240, 984))) << "984 * 50 / 32767 rounds to 2";
    EXPECT_FALSE(SilenceGate::isSilent(pcm(240, -984)));
    EXPECT_TRUE(SilenceGate::isSilent(QByteArray())) << "an empty buffer has nothing to send";
}

TEST(SilenceGate, LevelIsTheLoudestOfTheFirst240Samples)
{
    EXPECT_EQ(SilenceGate::level(pcm(240, 32767)), 50);
    EXPECT_EQ(SilenceGate::level(pcm(240, -32768)), 50) << "the most negative sample does not overflow";
    EXPECT_EQ(SilenceGate::level(pcm(10, 0, {-16384})), 25) << "one loud sample counts";
    EXPECT_EQ(SilenceGate::level(pcm(239, 0, {2000})), 3) << "the last examined sample counts";
    EXPECT_EQ(SilenceGate::level(pcm(240, 0, {32767})), 0) << "samples past 240 are not examined";
    EXPECT_TRUE(SilenceGate::isSilent(pcm(240, 0, {32767})));
    QByteArray odd = pcm(3, 0);
    odd.append(static_cast<char>(0x7f)); // half a sample
    EXPECT_EQ(SilenceGate::level(odd), 0);
    EXPECT_EQ(SilenceGate::level(pcm(0, 0, {0x0100})), 0) << "little-endian: 256 is quiet";
    EXPECT_EQ(SilenceGate::level(pcm(0, 0, {0x4000})), 25) << "little-endian: high byte 0x40";
}
