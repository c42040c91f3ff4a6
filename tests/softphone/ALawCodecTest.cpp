#include "softphone/ALawCodec.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray pcmOf(std::initializer_list<qint16> samples, int repeatTo = 0)
{
    QByteArray pcm;
    while (pcm.isEmpty() || pcm.size() < repeatTo)
        for (const qint16 sample : samples) {
            const qint16 little = qToLittleEndian(sample);
            pcm.append(reinterpret_cast<const char*>(&little), 2);
        }
    return pcm;
}

} // namespace

TEST(ALawTables, DecodeGivesTheG711Values)
{
    // First entries of the published A-law decoding table and the extremes.
    EXPECT_EQ(ALawCodec::DecodeSample(0x00), -5504);
    EXPECT_EQ(ALawCodec::DecodeSample(0x01), -5248);
    EXPECT_EQ(ALawCodec::DecodeSample(0x02), -6016);
    EXPECT_EQ(ALawCodec::DecodeSample(0x80), 5504);
    EXPECT_EQ(ALawCodec::DecodeSample(0xD5), 8);
    EXPECT_EQ(ALawCodec::DecodeSample(0x55), -8);
    EXPECT_EQ(ALawCodec::DecodeSample(0xAA), 32256);
    EXPECT_EQ(ALawCodec::DecodeSample(0x2A), -32256);
}

TEST(ALawTables, EveryCodeSurvivesARoundTrip)
{
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(ALawCodec::EncodeSample(ALawCodec::DecodeSample(static_cast<quint8>(code))), code) << code;
}

TEST(ALawTables, EncodingIsMonotonicAndSymmetric)
{
    int previous = -32768;
    for (int value = -32768; value <= 32767; ++value) {
        const int decoded = ALawCodec::DecodeSample(ALawCodec::EncodeSample(static_cast<qint16>(value)));
        ASSERT_GE(decoded, previous) << value;
        ASSERT_LE(std::abs(decoded - value), 1024) << value; // within the widest step
        previous = decoded;
    }
    EXPECT_EQ(ALawCodec::EncodeSample(32767), 0xAA);
    EXPECT_EQ(ALawCodec::EncodeSample(-32768), 0x2A);
}

TEST(ALawTables, SmallNegativeSamplesStayNearZero)
{
    for (qint16 value = -7; value <= -1; ++value)
        EXPECT_EQ(ALawCodec::EncodeSample(value), 0x55) << value;
    EXPECT_EQ(ALawCodec::EncodeSample(0), 0xD5);
    EXPECT_EQ(ALawCodec::EncodeSample(-8), 0x55);
    EXPECT_EQ(ALawCodec::EncodeSample(-24), 0x54);
}

TEST(ALawBuffers, SilenceEncodesToD5)
{
    const QByteArray encoded = ALawCodec::EncodeALaw(QByteArray(480, '\0'));
    EXPECT_EQ(encoded, QByteArray(240, '\xD5'));
}

TEST(ALawBuffers, LengthsMustBeWholeTenMilliseconds)
{
    EXPECT_TRUE(ALawCodec::EncodeALaw(QByteArray(200, '\0')).isEmpty());
    EXPECT_TRUE(ALawCodec::DecodeALaw(QByteArray(100, '\xD5')).isEmpty());
    EXPECT_TRUE(ALawCodec::EncodeALaw({}).isEmpty());
    EXPECT_EQ(ALawCodec::DecodeALaw(QByteArray(160, '\xD5')).size(), 320);
}

TEST(ALawBuffers, DecodingWritesLittleEndianSamples)
{
    const QByteArray pcm = ALawCodec::DecodeALaw(QByteArray(80, '\x55'));
    ASSERT_EQ(pcm.size(), 160);
    EXPECT_EQ(qFromLittleEndian<qint16>(pcm.constData()), -8);
    EXPECT_EQ(ALawCodec::EncodeALaw(pcmOf({1000, -1000}, 160)).left(2),
              QByteArray("\xFA\x7A")); // 1000 and -1000: segment 2, step 15
}
