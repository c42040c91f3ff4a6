#pragma once

#include <QByteArray>
#include <functional>

// A recording device in the headset format that hands over fixed-size buffers on the
// thread that opened it.
class AudioInput
{
public:
    using BufferReady = std::function<void(const QByteArray& pcm)>;

    virtual ~AudioInput() = default;
    virtual bool open(int deviceIndex, int bufferBytes, BufferReady onBuffer) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};
