#include "platform/audio/FakePlayback.h"

void FakePlayback::setStalled(bool stalled)
{
    m_stalledAt = m_written.load();
    m_stalled = stalled;
}

void FakePlayback::append(const char* pcm, int bytes)
{
    m_played.append(pcm, bytes);
    m_written += bytes;
}
