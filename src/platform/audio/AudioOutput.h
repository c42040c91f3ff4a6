#pragma once

#include <QtGlobal>

// A playback device in the headset format. write() may be called from the playback
// thread; the caller serialises all calls.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    // deviceIndex: a position in AudioSystem::outputDevices() or AudioFormat::DefaultDevice.
    virtual bool open(int deviceIndex) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues PCM for playing; 0 on success, else a device error code.
    virtual int write(const char* pcm, int bytes) = 0;
    // Bytes played since open (the device has finished with everything before this).
    virtual qint64 playedBytes() const = 0;
};
