#include "platform/audio/qt/QtAudioSystem.h"

#include "platform/audio/qt/QtAudioInput.h"
#include "platform/audio/qt/QtAudioOutput.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace {

QStringList namesOf(const QList<QAudioDevice>& devices)
{
    QStringList names;
    for (const QAudioDevice& device : devices)
        names.append(device.description());
    return names;
}

int positionOf(const QList<QAudioDevice>& devices, const QAudioDevice& preferred)
{
    if (preferred.isNull())
        return -1;
    for (qsizetype i = 0; i < devices.size(); ++i)
        if (devices[i].id() == preferred.id())
            return static_cast<int>(i);
    return -1;
}

} // namespace

QtAudioSystem::QtAudioSystem(QObject* parent) : QObject(parent) {}

QStringList QtAudioSystem::outputDevices() const
{
    return namesOf(QMediaDevices::audioOutputs());
}

QStringList QtAudioSystem::inputDevices() const
{
    return namesOf(QMediaDevices::audioInputs());
}

int QtAudioSystem::defaultOutputDevice() const
{
    return positionOf(QMediaDevices::audioOutputs(), QMediaDevices::defaultAudioOutput());
}

int QtAudioSystem::defaultInputDevice() const
{
    return positionOf(QMediaDevices::audioInputs(), QMediaDevices::defaultAudioInput());
}

std::unique_ptr<AudioOutput> QtAudioSystem::createOutput()
{
    return std::make_unique<QtAudioOutput>(this);
}

std::unique_ptr<AudioInput> QtAudioSystem::createInput()
{
    return std::make_unique<QtAudioInput>();
}
