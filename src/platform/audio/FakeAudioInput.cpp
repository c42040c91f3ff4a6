#include "platform/audio/FakeAudioInput.h"

#include "platform/audio/AudioFormat.h"
#include "platform/audio/FakeAudioSystem.h"

bool FakeAudioInput::open(int deviceIndex, int bufferBytes, BufferReady onBuffer)
{
    close();
    m_open = (deviceIndex == AudioFormat::DefaultDevice || deviceIndex == 0) && bufferBytes > 0;
    if (!m_open)
        return false;
    m_bufferBytes = bufferBytes;
    m_onBuffer = std::move(onBuffer);
    m_system.setOpenInput(this);
    return true;
}

void FakeAudioInput::close()
{
    m_open = false;
    if (m_system.openInput() == this)
        m_system.setOpenInput(nullptr);
}

void FakeAudioInput::deliverBuffers(int count)
{
    const QByteArray& signal = m_system.microphoneSignal();
    for (int i = 0; i < count && m_open && !signal.isEmpty(); ++i) {
        QByteArray buffer;
        while (buffer.size() < m_bufferBytes) {
            const qsizetype take =
                std::min<qsizetype>(m_bufferBytes - buffer.size(), signal.size() - m_position);
            buffer.append(signal.constData() + m_position, take);
            m_position = (m_position + take) % signal.size();
        }
        m_onBuffer(buffer);
    }
}
