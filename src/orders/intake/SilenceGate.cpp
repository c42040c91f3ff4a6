#include "orders/intake/SilenceGate.h"

#include <algorithm>
#include <cstdlib>

int SilenceGate::level(QByteArrayView pcm)
{
    const qsizetype samples = std::min<qsizetype>(pcm.size() / 2, SamplesExamined);
    int loudest = 0;
    for (qsizetype i = 0; i < samples; ++i) {
        const auto low = static_cast<unsigned char>(pcm[2 * i]);
        const auto high = static_cast<unsigned char>(pcm[2 * i + 1]);
        const int sample = static_cast<qint16>(static_cast<quint16>(low | (high << 8)));
        loudest = std::max(loudest, std::abs(sample));
    }
    // Rounded to nearest with integers: (2 * a * 50 + 32767) / (2 * 32767); 32767 is odd,
    // so no value falls exactly half-way.
    return static_cast<int>((loudest * 100LL + 32767) / (2LL * 32767));
}
