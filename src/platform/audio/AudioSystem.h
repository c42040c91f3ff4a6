#pragma once

#include "platform/audio/AudioInput.h"
#include "platform/audio/AudioOutput.h"

#include <QStringList>
#include <memory>

// The computer's sound devices, listed by the names users see.
class AudioSystem
{
public:
    virtual ~AudioSystem() = default;
    virtual QStringList outputDevices() const = 0;
    virtual QStringList inputDevices() const = 0;
    // Positions in those lists of the devices the system prefers, -1 when it names none.
    virtual int defaultOutputDevice() const { return -1; }
    virtual int defaultInputDevice() const { return -1; }
    virtual std::unique_ptr<AudioOutput> createOutput() = 0;
    virtual std::unique_ptr<AudioInput> createInput() = 0;
};
