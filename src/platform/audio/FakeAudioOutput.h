#pragma once

#include "platform/audio/AudioOutput.h"
#include "platform/audio/FakePlayback.h"

#include <memory>

// The fake headset's earpiece: everything written is recorded in its FakePlayback.
class FakeAudioOutput : public AudioOutput
{
public:
    explicit FakeAudioOutput(std::shared_ptr<FakePlayback> playback) : m_playback(std::move(playback)) {}
    bool open(int deviceIndex) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    int write(const char* pcm, int bytes) override;
    qint64 playedBytes() const override { return m_playback->playedBytes(); }

private:
    std::shared_ptr<FakePlayback> m_playback;
    bool m_open = false;
};
