#include "platform/audio/qt/QtAudioSystem.h"
#include "../softphone/SoftphoneTestSupport.h"
#include "platform/audio/AudioFormat.h"

#include <gtest/gtest.h>

// Whatever sound hardware the machine has (often none on a build server), devices
// outside the lists never open and the default opens exactly when the system has one.
TEST(QtAudioDevices, OpenOnlyWhatExists)
{
    QtAudioSystem audio;
    const QStringList outputs = audio.outputDevices();
    const QStringList inputs = audio.inputDevices();
    for (const QString& name : outputs + inputs)
        EXPECT_FALSE(name.isEmpty());

    auto output = audio.createOutput();
    EXPECT_FALSE(output->open(int(outputs.size())));
    EXPECT_FALSE(output->open(-2));
    EXPECT_FALSE(output->isOpen());
    EXPECT_NE(output->write("\0\0", 2), 0) << "a closed output takes nothing";

    auto input = audio.createInput();
    EXPECT_FALSE(input->open(int(inputs.size()), 480, [](const QByteArray&) {}));
    EXPECT_FALSE(input->isOpen());

    if (outputs.isEmpty()) {
        EXPECT_FALSE(output->open(AudioFormat::DefaultDevice));
    } else if (output->open(AudioFormat::DefaultDevice)) {
        EXPECT_EQ(output->write(QByteArray(480, '\0').constData(), 480), 0);
        PumpEvents(100);
        output->close();
        EXPECT_FALSE(output->isOpen());
    }
    PumpEvents(10); // lets the device's own thread work finish before it goes
}
