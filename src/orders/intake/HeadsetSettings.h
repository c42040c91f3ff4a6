#pragma once

#include <QString>
#include <QStringList>

class AudioSystem;
class IPrompts;

// The headset of this computer: the input and output devices, listed by the names the
// system gives them, and GarnituraDispetcher.ini (section SETWAVE, keys IN and OUT)
// that remembers the choice. Once loaded from the file the lists are locked.
class HeadsetSettings
{
public:
    HeadsetSettings(AudioSystem& audio, const QString& baseFolder);

    const QStringList& inputDevices() const { return m_inputs; }
    const QStringList& outputDevices() const { return m_outputs; }
    // Positions in the lists, -1 for none.
    int selectedInput() const { return m_input; }
    int selectedOutput() const { return m_output; }
    void selectInput(int index);
    void selectOutput(int index);
    // The lists and the save button are disabled.
    bool locked() const { return m_locked; }

    // Lists the devices (the system defaults preselected) and reads the file: true when
    // the file names a device for each side (a device no longer present keeps the
    // automatic choice and still counts).
    bool load();
    // "Зберегти налаштування гарнітури ...": asks, then writes the selected names.
    // False when nothing was written (no selection, declined, or the write failed: said).
    bool save(IPrompts& prompts);

    // The device indices the call's audio uses (AudioFormat::DefaultDevice for the
    // system default, -2 for none).
    int inputDeviceIndex() const;
    int outputDeviceIndex() const;

private:
    AudioSystem& m_audio;
    QString m_file;
    QStringList m_inputs, m_outputs;
    int m_input = -1, m_output = -1;
    bool m_locked = false;
    bool m_loaded = false;
};
