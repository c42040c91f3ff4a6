#pragma once

#include "platform/audio/AudioFormat.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>
#include <optional>

namespace QtAudioFormat {

inline QAudioFormat headset()
{
    QAudioFormat format;
    format.setSampleRate(AudioFormat::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

// The device at this position of the list, the default for DefaultDevice, nothing
// for anything else.
inline std::optional<QAudioDevice> pick(const QList<QAudioDevice>& devices, const QAudioDevice& fallback,
                                        int index)
{
    if (index == AudioFormat::DefaultDevice)
        return fallback.isNull() ? std::nullopt : std::optional(fallback);
    if (index < 0 || index >= devices.size())
        return std::nullopt;
    return devices[index];
}

} // namespace QtAudioFormat
