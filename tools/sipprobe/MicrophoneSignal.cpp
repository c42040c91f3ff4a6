#include "MicrophoneSignal.h"

#include "platform/audio/AudioFormat.h"

#include <QFile>
#include <QtEndian>
#include <cmath>
#include <numbers>

QByteArray MicrophoneSignal::FromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    if (!content.startsWith("RIFF") || content.mid(8, 4) != "WAVE")
        return content;
    // Walk the RIFF chunks to "data" (bounded by the file's size).
    qsizetype at = 12;
    while (at + 8 <= content.size()) {
        const quint32 size = qFromLittleEndian<quint32>(content.constData() + at + 4);
        if (content.mid(at, 4) == "data")
            return content.mid(at + 8, std::min<qsizetype>(size, content.size() - at - 8));
        at += 8 + qsizetype(size) + (size & 1);
    }
    return {};
}

QByteArray MicrophoneSignal::Tone(int hz)
{
    QByteArray pcm;
    for (int i = 0; i < AudioFormat::SampleRate; ++i) {
        const auto sample =
            static_cast<qint16>(8000.0 * std::sin(2.0 * std::numbers::pi * hz * i / AudioFormat::SampleRate));
        const qint16 little = qToLittleEndian(sample);
        pcm.append(reinterpret_cast<const char*>(&little), 2);
    }
    return pcm;
}
