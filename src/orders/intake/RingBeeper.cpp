#include "orders/intake/RingBeeper.h"

#include "platform/audio/AudioFormat.h"
#include "platform/audio/AudioSystem.h"

#include <QtEndian>
#include <cmath>
#include <numbers>

RingBeeper::RingBeeper(AudioSystem& audio, QObject* parent) : QObject(parent), m_audio(audio)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &RingBeeper::tick);
}

RingBeeper::~RingBeeper()
{
    stop();
}

void RingBeeper::start()
{
    stop();
    m_beeps = 0;
    m_timer.start();
}

void RingBeeper::stop()
{
    m_timer.stop();
    if (m_output)
        m_output->close();
    m_output.reset();
}

void RingBeeper::tick()
{
    if (m_beeps >= MaxBeeps) {
        stop();
        return;
    }
    ++m_beeps;
    // A fresh output each time: the previous beep has long been played, and a device that
    // failed once is tried again rather than left silent for the rest of the ring.
    if (m_output)
        m_output->close();
    m_output = m_audio.createOutput();
    if (m_output && m_output->open(AudioFormat::DefaultDevice)) {
        static const QByteArray beep = tone();
        m_output->write(beep.constData(), static_cast<int>(beep.size()));
    }
    if (m_beeps >= MaxBeeps)
        m_timer.stop();
}

QByteArray RingBeeper::tone()
{
    const int samples = AudioFormat::SampleRate * ToneMs / 1000;
    QByteArray pcm(samples * AudioFormat::BytesPerSample, '\0');
    for (int i = 0; i < samples; ++i) {
        const double phase = 2.0 * std::numbers::pi * ToneHz * i / AudioFormat::SampleRate;
        const auto sample = static_cast<qint16>(std::lround(8000.0 * std::sin(phase)));
        qToLittleEndian(sample, pcm.data() + i * AudioFormat::BytesPerSample);
    }
    return pcm;
}
