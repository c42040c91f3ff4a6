#include "softphone/TCustomPCMA.h"

#include "softphone/ALawCodec.h"

TCustomPCMA::TCustomPCMA(AudioSystem& audio, QObject* parent) : QObject(parent), m_audio(audio)
{
    for (OutputBuffer& buffer : m_outputBuffers)
        buffer.data = QByteArray(BufferBytes, '\0');
    m_pending.reserve(4 * BufferBytes);
}

TCustomPCMA::~TCustomPCMA() = default;

QByteArray TCustomPCMA::EncodeALaw(const QByteArray& pcm)
{
    return ALawCodec::EncodeALaw(pcm);
}

QByteArray TCustomPCMA::DecodeALaw(const QByteArray& alaw)
{
    return ALawCodec::DecodeALaw(alaw);
}

bool TCustomPCMA::OpenOutput()
{
    const std::lock_guard lock(m_outputLock);
    if (m_output)
        m_output->close();
    m_output = m_audio.createOutput();
    if (!m_output->open(m_outputDevice)) {
        m_output.reset();
        return false;
    }
    for (OutputBuffer& buffer : m_outputBuffers)
        buffer.queued = false;
    m_nextOutput = 0;
    m_queuedBytes = 0;
    m_pending.clear();
    return true;
}

void TCustomPCMA::CloseOutput()
{
    const std::lock_guard lock(m_outputLock);
    if (m_output)
        m_output->close();
    m_output.reset();
}

void TCustomPCMA::Play(const QByteArray& pcm)
{
    const std::lock_guard lock(m_outputLock);
    if (!m_output)
        return;
    m_pending.append(pcm);
    qsizetype used = 0;
    while (m_pending.size() - used >= BufferBytes) {
        OutputBuffer& buffer = m_outputBuffers[m_nextOutput];
        if (buffer.queued && m_output->playedBytes() < buffer.endPosition) {
            // The ring is full (600 ms behind): late audio is dropped, not queued.
            emit OnStatus(OutputBusy, 0);
            m_pending.clear();
            return;
        }
        std::copy_n(m_pending.constData() + used, BufferBytes, buffer.data.data());
        used += BufferBytes;
        if (const int error = m_output->write(buffer.data.constData(), BufferBytes)) {
            emit OnStatus(QueueFailed, error);
            continue;
        }
        m_queuedBytes += BufferBytes;
        buffer.queued = true;
        buffer.endPosition = m_queuedBytes;
        m_nextOutput = (m_nextOutput + 1) % OutputBufferCount;
        emit OnStatus(BufferQueued, 0);
    }
    m_pending.remove(0, used);
}
