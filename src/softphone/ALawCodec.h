#pragma once

#include <QByteArray>

// G.711 A-law (ITU-T G.711, RTP payload type 8) between 16-bit little-endian linear
// PCM and one byte per sample, through lookup tables.
class ALawCodec
{
public:
    // PCM whose length is a multiple of 160 bytes (10 ms); otherwise empty.
    static QByteArray EncodeALaw(const QByteArray& pcm);
    // A-law whose length is a multiple of 80 bytes (10 ms); otherwise empty.
    static QByteArray DecodeALaw(const QByteArray& alaw);

    static quint8 EncodeSample(qint16 sample);
    static qint16 DecodeSample(quint8 code);

    // Raw conversions without the length rule, for callers that frame audio themselves.
    static void Encode(const qint16* samples, int count, quint8* codes);
    static void Decode(const quint8* codes, int count, qint16* samples);
};
