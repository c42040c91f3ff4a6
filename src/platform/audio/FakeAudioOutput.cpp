#include "platform/audio/FakeAudioOutput.h"

#include "platform/audio/AudioFormat.h"

bool FakeAudioOutput::open(int deviceIndex)
{
    m_open = deviceIndex == AudioFormat::DefaultDevice || deviceIndex == 0;
    return m_open;
}

int FakeAudioOutput::write(const char* pcm, int bytes)
{
    if (!m_open)
        return 1;
    m_playback->append(pcm, bytes);
    return 0;
}
