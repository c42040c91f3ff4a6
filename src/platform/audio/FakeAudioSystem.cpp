#include "platform/audio/FakeAudioSystem.h"

std::unique_ptr<AudioOutput> FakeAudioSystem::createOutput()
{
    m_lastPlayback = std::make_shared<FakePlayback>();
    return std::make_unique<FakeAudioOutput>(m_lastPlayback);
}

std::unique_ptr<AudioInput> FakeAudioSystem::createInput()
{
    return std::make_unique<FakeAudioInput>(*this);
}
