#pragma once

#include "softphone/TCustomPCMA.h"

#include <atomic>
#include <thread>

class TRTCPClient;

// The media of a call: a playback thread that receives RTP, decodes and plays it,
// and the microphone, whose 30 ms buffers go out as RTP packets of 240 A-law bytes
// while transmitting is on.
class TPCMA : public TCustomPCMA
{
    Q_OBJECT

public:
    explicit TPCMA(AudioSystem& audio, QObject* parent = nullptr);
    ~TPCMA() override;

    // Stops what runs, then starts the playback thread receiving on the link's RTP.
    void Start(TRTCPClient* link);
    void Stop() override;
    bool IsRunning() const { return m_running; }

    bool OpenInput();
    void CloseInput();
    // One recorded buffer: sent only when it is a whole 480-byte buffer and the call
    // is connected.
    void RecordedBuffer(const QByteArray& pcm);
    void SendAudio(const QByteArray& alaw);

    // Microphone audio leaves the computer only while this is on (the host turns it on
    // when the call is connected and off otherwise).
    void SetTransmitting(bool transmitting) { m_transmitting = transmitting; }
    bool Transmitting() const { return m_transmitting; }

    // Set when the output device could not be opened.
    const QByteArray& OutputError() const { return m_outputError; }

protected:
    // Whether a whole recorded buffer is worth sending; every one is, unless a host
    // knows better (a dispatcher's silence, say).
    virtual bool WorthSending(const QByteArray& pcm) const
    {
        Q_UNUSED(pcm);
        return true;
    }

private:
    void PlaybackLoop();

    TRTCPClient* m_link = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_running = false;
    std::unique_ptr<AudioInput> m_input;
    bool m_transmitting = false;
    QByteArray m_outputError;
};
