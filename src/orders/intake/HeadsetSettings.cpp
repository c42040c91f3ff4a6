#include "orders/intake/HeadsetSettings.h"

#include "platform/IniFile.h"
#include "platform/Prompts.h"
#include "platform/audio/AudioFormat.h"
#include "platform/audio/AudioSystem.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("SETWAVE");
const QString kInputKey = QStringLiteral("IN");
const QString kOutputKey = QStringLiteral("OUT");

// The file keeps names as the old sound API reported them: at most 31 characters.
constexpr int kStoredNameLength = 31;

QString storedName(const QString& deviceName)
{
    return deviceName.left(kStoredNameLength);
}

// A longer device name matches the 31 characters the file kept of it.
int positionOfStored(const QStringList& devices, const QString& stored)
{
    for (qsizetype i = 0; i < devices.size(); ++i)
        if (storedName(devices[i]) == stored)
            return static_cast<int>(i);
    return -1;
}

// The preferred device when the system names one, else the first; none in an empty list.
int automaticChoice(const QStringList& devices, int preferred)
{
    if (devices.isEmpty())
        return -1;
    return preferred >= 0 && preferred < devices.size() ? preferred : 0;
}

} // namespace

HeadsetSettings::HeadsetSettings(AudioSystem& audio, const QString& baseFolder)
    : m_audio(audio), m_file(QDir(baseFolder).filePath(QStringLiteral("GarnituraDispetcher.ini")))
{
}

void HeadsetSettings::selectInput(int index)
{
    if (!m_locked && index >= 0 && index < m_inputs.size())
        m_input = index;
}

void HeadsetSettings::selectOutput(int index)
{
    if (!m_locked && index >= 0 && index < m_outputs.size())
        m_output = index;
}

bool HeadsetSettings::load()
{
    m_locked = false;
    m_loaded = false;
    m_inputs = m_audio.inputDevices();
    m_outputs = m_audio.outputDevices();
    m_input = automaticChoice(m_inputs, m_audio.defaultInputDevice());
    m_output = automaticChoice(m_outputs, m_audio.defaultOutputDevice());
    if (!QFileInfo::exists(m_file) || m_inputs.isEmpty() || m_outputs.isEmpty())
        return false;

    const IniFile ini = IniFile::load(m_file);
    const QString input = ini.readString(kSection, kInputKey).trimmed();
    const QString output = ini.readString(kSection, kOutputKey).trimmed();
    if (input.isEmpty() || output.isEmpty())
        return false;
    // A headset that was unplugged or replaced leaves the automatic choice: the
    // dispatcher can still take calls on whatever the computer has.
    if (const int found = positionOfStored(m_inputs, input); found >= 0)
        m_input = found;
    if (const int found = positionOfStored(m_outputs, output); found >= 0)
        m_output = found;
    m_loaded = true;
    m_locked = true;
    return true;
}

bool HeadsetSettings::save(IPrompts& prompts)
{
    if (m_locked || m_input < 0 || m_input >= m_inputs.size() || m_output < 0 || m_output >= m_outputs.size())
        return false;
    if (!prompts.question(QStringLiteral("Змінити дані налаштування підключення гарнітури ?\r"
                                         "[Після затвердження зміни, для можливості зміни параметрів "
                                         "знищіть файл [GarnituraDispetcher.ini] в папці установки програми]")))
        return false;
    IniFile ini = IniFile::load(m_file);
    ini.writeString(kSection, kInputKey, storedName(m_inputs[m_input]));
    ini.writeString(kSection, kOutputKey, storedName(m_outputs[m_output]));
    const QString error = ini.save(m_file);
    if (!error.isEmpty()) {
        prompts.message(error);
        return false;
    }
    return true;
}

int HeadsetSettings::inputDeviceIndex() const
{
    if (m_input < 0)
        return -2;
    return m_loaded ? m_input : AudioFormat::DefaultDevice;
}

int HeadsetSettings::outputDeviceIndex() const
{
    if (m_output < 0)
        return -2;
    return m_loaded ? m_output : AudioFormat::DefaultDevice;
}
