#pragma once

#include "platform/audio/AudioOutput.h"

#include <QObject>
#include <atomic>
#include <memory>

class QAudioSink;
class QIODevice;
class QTimer;

// Playback through a QAudioSink that lives on the GUI thread. The playback thread
// only posts to it (never waits for it), so stopping a call on the GUI thread can
// never deadlock against the audio.
class QtAudioOutput : public AudioOutput
{
public:
    explicit QtAudioOutput(QObject* guiThreadObject);
    ~QtAudioOutput() override;

    bool open(int deviceIndex) override;
    void close() override;
    bool isOpen() const override;
    int write(const char* pcm, int bytes) override;
    qint64 playedBytes() const override;

    // What the GUI thread owns; shared with the posted work so it may outlive this.
    struct Sink
    {
        std::atomic<bool> open = false;
        std::atomic<qint64> played = 0;
        QAudioSink* sink = nullptr;
        QIODevice* device = nullptr;
        QTimer* pump = nullptr;
        QByteArray waiting;
        qint64 accepted = 0;
    };

private:
    QObject* m_home;
    std::shared_ptr<Sink> m_sink;
};
