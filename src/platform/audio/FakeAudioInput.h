#pragma once

#include "platform/audio/AudioInput.h"

class FakeAudioSystem;

// The fake headset's microphone: hands over the system's microphone signal in
// buffers when told to, as a sound card would every buffer's length of time.
class FakeAudioInput : public AudioInput
{
public:
    explicit FakeAudioInput(FakeAudioSystem& system) : m_system(system) {}
    ~FakeAudioInput() override { close(); }
    bool open(int deviceIndex, int bufferBytes, BufferReady onBuffer) override;
    void close() override;
    bool isOpen() const override { return m_open; }

    void deliverBuffers(int count);

private:
    FakeAudioSystem& m_system;
    bool m_open = false;
    int m_bufferBytes = 0;
    qsizetype m_position = 0;
    BufferReady m_onBuffer;
};
