#include "softphone/ALawCodec.h"

#include <QtEndian>
#include <array>

namespace {

quint8 encodeByRule(int value)
{
    int mask = 0xD5;
    if (value < 0) {
        // -1..-7 lie in the first step of the negative side, which decodes to -8; the
        // clamp keeps them from wrapping round to the far end of segment 0.
        value = std::max(0, -value - 8);
        mask = 0x55;
    }
    if (value >= 32768)
        return static_cast<quint8>(0x7F ^ mask);
    int segment = 0;
    while (value >= (256 << segment))
        ++segment;
    const int quantised = segment == 0 ? (value >> 4) & 0x0F : (value >> (segment + 3)) & 0x0F;
    return static_cast<quint8>(((segment << 4) | quantised) ^ mask);
}

qint16 decodeByRule(quint8 code)
{
    const int bits = code ^ 0x55;
    int magnitude = (bits & 0x0F) << 4;
    const int segment = (bits >> 4) & 0x07;
    if (segment == 0)
        magnitude += 8;
    else if (segment == 1)
        magnitude += 0x108;
    else
        magnitude = (magnitude + 0x108) << (segment - 1);
    // The values of the G.711 tables: the sign bit set means positive.
    return static_cast<qint16>((bits & 0x80) ? magnitude : -magnitude);
}

struct Tables
{
    std::array<quint8, 65536> encode{};
    std::array<qint16, 256> decode{};
    Tables()
    {
        for (int value = -32768; value <= 32767; ++value)
            encode[static_cast<quint16>(value)] = encodeByRule(value);
        for (int code = 0; code < 256; ++code)
            decode[code] = decodeByRule(static_cast<quint8>(code));
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
}

} // namespace

quint8 ALawCodec::EncodeSample(qint16 sample)
{
    return tables().encode[static_cast<quint16>(sample)];
}

qint16 ALawCodec::DecodeSample(quint8 code)
{
    return tables().decode[code];
}

void ALawCodec::Encode(const qint16* samples, int count, quint8* codes)
{
    const auto& table = tables().encode;
    for (int i = 0; i < count; ++i)
        codes[i] = table[static_cast<quint16>(qFromLittleEndian(samples[i]))];
}

void ALawCodec::Decode(const quint8* codes, int count, qint16* samples)
{
    const auto& table = tables().decode;
    for (int i = 0; i < count; ++i)
        samples[i] = qToLittleEndian(table[codes[i]]);
}

QByteArray ALawCodec::EncodeALaw(const QByteArray& pcm)
{
    if (pcm.isEmpty() || pcm.size() % 160 != 0)
        return {};
    QByteArray codes(pcm.size() / 2, Qt::Uninitialized);
    Encode(reinterpret_cast<const qint16*>(pcm.constData()), codes.size(),
           reinterpret_cast<quint8*>(codes.data()));
    return codes;
}

QByteArray ALawCodec::DecodeALaw(const QByteArray& alaw)
{
    if (alaw.isEmpty() || alaw.size() % 80 != 0)
        return {};
    QByteArray pcm(alaw.size() * 2, Qt::Uninitialized);
    Decode(reinterpret_cast<const quint8*>(alaw.constData()), alaw.size(),
           reinterpret_cast<qint16*>(pcm.data()));
    return pcm;
}
