#pragma once

#include <QByteArray>
#include <QString>

// The probe's microphone: 8 kHz 16-bit mono PCM from a file or a tone.
namespace MicrophoneSignal {
// A raw PCM file, or the data chunk of a WAV file; empty when unreadable.
QByteArray FromFile(const QString& path);
// One second of a sine tone at this pitch.
QByteArray Tone(int hz);
} // namespace MicrophoneSignal
