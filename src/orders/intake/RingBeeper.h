#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

class AudioOutput;
class AudioSystem;

// The ring of an incoming call on the computer's own speaker: every second a 500 Hz
// tone of half a second on the system's default output (not the headset, which the
// dispatcher may have taken off). It stops by itself after 31 beeps, so a call nobody
// takes does not beep for ever.
class RingBeeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxBeeps = 31;
    static constexpr int ToneHz = 500;
    static constexpr int ToneMs = 500;

    explicit RingBeeper(AudioSystem& audio, QObject* parent = nullptr);
    ~RingBeeper() override;

    // The first beep comes with the first tick, a second after the start.
    void start();
    void stop();
    bool running() const { return m_timer.isActive(); }
    int beeps() const { return m_beeps; }
    // One tick of the ring's timer: a beep, and the end after the last one.
    void tick();
    // The tone of one beep (16-bit PCM in the headset format).
    static QByteArray tone();

private:
    AudioSystem& m_audio;
    QTimer m_timer;
    std::unique_ptr<AudioOutput> m_output;
    int m_beeps = 0;
};
