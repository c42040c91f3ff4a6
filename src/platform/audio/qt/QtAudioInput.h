#pragma once

#include "platform/audio/AudioInput.h"

#include <QByteArray>
#include <memory>

class QAudioSource;
class QIODevice;

// Recording through a QAudioSource on the thread that opens it, cut into buffers of
// the size asked for.
class QtAudioInput : public AudioInput
{
public:
    QtAudioInput();
    ~QtAudioInput() override;

    bool open(int deviceIndex, int bufferBytes, BufferReady onBuffer) override;
    void close() override;
    bool isOpen() const override { return m_source != nullptr; }

private:
    void readAvailable();

    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_device = nullptr;
    QByteArray m_collected;
    int m_bufferBytes = 0;
    BufferReady m_onBuffer;
};
