#pragma once

#include "platform/audio/AudioSystem.h"
#include "platform/audio/FakeAudioInput.h"
#include "platform/audio/FakeAudioOutput.h"
#include "platform/audio/FakePlayback.h"

#include <QByteArray>
#include <memory>

// Sound devices for tests and headless tools: one headset whose output records what
// was played and whose microphone plays a given signal.
class FakeAudioSystem : public AudioSystem
{
public:
    QStringList outputDevices() const override { return m_outputs; }
    QStringList inputDevices() const override { return m_inputs; }
    int defaultOutputDevice() const override { return m_defaultOutput; }
    int defaultInputDevice() const override { return m_defaultInput; }
    // Other devices, as on a computer with several sound cards (or none).
    void setOutputDevices(const QStringList& names, int preferred = 0)
    {
        m_outputs = names;
        m_defaultOutput = preferred < names.size() ? preferred : -1;
    }
    void setInputDevices(const QStringList& names, int preferred = 0)
    {
        m_inputs = names;
        m_defaultInput = preferred < names.size() ? preferred : -1;
    }
    std::unique_ptr<AudioOutput> createOutput() override;
    std::unique_ptr<AudioInput> createInput() override;

    // What the output made last played (null before any output was made).
    FakePlayback* lastPlayback() const { return m_lastPlayback.get(); }
    // The microphone while it is open, else null.
    FakeAudioInput* openInput() const { return m_openInput; }
    void setOpenInput(FakeAudioInput* input) { m_openInput = input; }

    // The microphone signal (16-bit PCM), played in a loop.
    void setMicrophoneSignal(const QByteArray& pcm) { m_microphone = pcm; }
    const QByteArray& microphoneSignal() const { return m_microphone; }

private:
    QStringList m_outputs{QStringLiteral("Fake Headset")};
    QStringList m_inputs{QStringLiteral("Fake Headset Microphone")};
    int m_defaultOutput = 0;
    int m_defaultInput = 0;
    std::shared_ptr<FakePlayback> m_lastPlayback;
    FakeAudioInput* m_openInput = nullptr;
    QByteArray m_microphone;
};
