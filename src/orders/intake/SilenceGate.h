#pragma once

#include <QByteArrayView>

// Decides whether a microphone buffer is worth sending: a buffer of silence is handed
// back to the device instead, which saves the bandwidth of a dispatcher who is listening.
// It looks at the first 240 samples only and never allocates: it runs for every 30 ms
// buffer on the UI thread.
namespace SilenceGate {
inline constexpr int SamplesExamined = 240;
inline constexpr int Threshold = 2;

// The largest round(|sample| * 50 / 32767) over the first samples of 16-bit
// little-endian PCM; a trailing odd byte is not a sample.
int level(QByteArrayView pcm);
inline bool isSilent(QByteArrayView pcm)
{
    return level(pcm) < Threshold;
}
} // namespace SilenceGate
