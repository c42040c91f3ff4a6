#pragma once

#include "platform/audio/AudioSystem.h"

#include <QObject>

// The sound devices through Qt Multimedia, listed by the names users see; device
// AudioFormat::DefaultDevice is the system default (what Windows calls the sound
// mapper). Create it on the GUI thread: the devices live there, whatever thread
// plays into them.
class QtAudioSystem : public QObject, public AudioSystem
{
    Q_OBJECT

public:
    explicit QtAudioSystem(QObject* parent = nullptr);

    QStringList outputDevices() const override;
    QStringList inputDevices() const override;
    int defaultOutputDevice() const override;
    int defaultInputDevice() const override;
    std::unique_ptr<AudioOutput> createOutput() override;
    std::unique_ptr<AudioInput> createInput() override;
};
