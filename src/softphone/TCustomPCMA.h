#pragma once

#include "platform/audio/AudioSystem.h"

#include <QObject>
#include <array>
#include <memory>
#include <mutex>

// The headset side of a call: a ring of 20 output buffers of 30 ms fed from the
// playback thread, and the A-law codec. The output lock is the only lock of the
// softphone: it guards the output device, its buffers and the ring position.
class TCustomPCMA : public QObject
{
    Q_OBJECT

public:
    static constexpr int BufferBytes = 480; // 240 samples, 30 ms
    static constexpr int OutputBufferCount = 20;

    // Status notices (OnStatus) of the media.
    enum Status {
        PlaybackStarted = 0,
        PacketArrived = 1,
        PlaybackEnding = 2,
        PacketRejected = 3,
        OutputBusy = 5,
        BufferQueued = 6,
        QueueFailed = 7,
        ChunkSent = 8,
    };

    explicit TCustomPCMA(AudioSystem& audio, QObject* parent = nullptr);
    ~TCustomPCMA() override;

    virtual void Stop() = 0;

    // Device positions in the AudioSystem lists, AudioFormat::DefaultDevice for the
    // system default; -2 (none) until the host sets them.
    int OutputDevice() const { return m_outputDevice; }
    int InputDevice() const { return m_inputDevice; }
    void SetOutputDevice(int device) { m_outputDevice = device; }
    void SetInputDevice(int device) { m_inputDevice = device; }

    static QByteArray EncodeALaw(const QByteArray& pcm);
    static QByteArray DecodeALaw(const QByteArray& alaw);

signals:
    // Emitted from the playback thread as well; connections are queued to the receiver.
    void OnStatus(int status, int parameter);

protected:
    bool OpenOutput();
    void CloseOutput();
    // Plays decoded audio 480 bytes at a time; a shorter rest waits for the next packet.
    void Play(const QByteArray& pcm);

    AudioSystem& m_audio;

private:
    struct OutputBuffer
    {
        QByteArray data;
        bool queued = false;
        qint64 endPosition = 0; // played once the device has played this many bytes
    };

    int m_outputDevice = -2;
    int m_inputDevice = -2;
    std::mutex m_outputLock;
    std::unique_ptr<AudioOutput> m_output;
    std::array<OutputBuffer, OutputBufferCount> m_outputBuffers;
    int m_nextOutput = 0;
    qint64 m_queuedBytes = 0;
    QByteArray m_pending;
};
