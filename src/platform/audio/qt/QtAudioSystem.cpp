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

std::unique_ptr<AudioOutput> QtAudioSystem::createOutput()
{
    return std::make_unique<QtAudioOutput>(this);
}

std::unique_ptr<AudioInput> QtAudioSystem::createInput()
{
    return std::make_unique<QtAudioInput>();
}
