#include "orders/intake/HeadsetSettings.h"
#include "platform/IniFile.h"
#include "platform/ScriptedPrompts.h"
#include "platform/audio/AudioFormat.h"
#include "platform/audio/FakeAudioSystem.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kLongOutput = QStringLiteral("Гарнітура Plantronics Blackwire 3220 Series (USB)");
const QString kSaveQuestion =
    QStringLiteral("Змінити дані налаштування підключення гарнітури ?\r[Після затвердження зміни, для можливості "
                   "зміни параметрів знищіть файл [GarnituraDispetcher.ini] в папці установки програми]");
} // namespace

class HeadsetSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        audio.setInputDevices({QStringLiteral("Вбудований мікрофон"), QStringLiteral("Мікрофон гарнітури")}, 0);
        audio.setOutputDevices({QStringLiteral("Динаміки"), kLongOutput}, 0);
    }
    QString file() const { return folder.filePath(QStringLiteral("GarnituraDispetcher.ini")); }
    void writeFile(const QString& input, const QString& output)
    {
        IniFile ini;
        ini.writeString(QStringLiteral("SETWAVE"), QStringLiteral("IN"), input);
        ini.writeString(QStringLiteral("SETWAVE"), QStringLiteral("OUT"), output);
        ASSERT_EQ(ini.save(file()), QString());
    }

    QTemporaryDir folder;
    FakeAudioSystem audio;
    HeadsetSettings headset{audio, folder.path()};
    ScriptedPrompts prompts;
};

TEST_F(HeadsetSettingsTest, WithoutTheFileTheSystemDefaultsPlayAndTheListsStayOpen)
{
    audio.setOutputDevices({QStringLiteral("Динаміки"), kLongOutput}, 1);
    EXPECT_FALSE(headset.load());
    EXPECT_EQ(headset.inputDevices().size(), 2);
    EXPECT_EQ(headset.selectedOutput(), 1); // the system's preferred one
    EXPECT_FALSE(headset.locked());
    EXPECT_EQ(headset.inputDeviceIndex(), AudioFormat::DefaultDevice);
    EXPECT_EQ(headset.outputDeviceIndex(), AudioFormat::DefaultDevice);
}

TEST_F(HeadsetSettingsTest, TheFileKeepsThirtyOneCharactersOfANameAndTheyFindTheDeviceAgain)
{
    headset.load();
    headset.selectInput(1);
    headset.selectOutput(1);
    prompts.answerQuestion(true);
    ASSERT_TRUE(headset.save(prompts));
    EXPECT_EQ(prompts.questions(), QStringList{kSaveQuestion});
    const IniFile ini = IniFile::load(file());
    EXPECT_EQ(ini.readString(QStringLiteral("SETWAVE"), QStringLiteral("OUT")), kLongOutput.left(31));
    EXPECT_EQ(ini.readString(QStringLiteral("SETWAVE"), QStringLiteral("IN")), QStringLiteral("Мікрофон гарнітури"));

    HeadsetSettings again(audio, folder.path());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.selectedInput(), 1);
    EXPECT_EQ(again.selectedOutput(), 1);
    EXPECT_EQ(again.outputDeviceIndex(), 1);
    // Locked: the choice changes only by deleting the file.
    EXPECT_TRUE(again.locked());
    again.selectOutput(0);
    EXPECT_EQ(again.selectedOutput(), 1);
    EXPECT_FALSE(again.save(prompts));
}

TEST_F(HeadsetSettingsTest, ANameThatOnlyStartsLikeADeviceIsAnotherDevice)
{
    writeFile(QStringLiteral("Мікрофон"), QStringLiteral("Динаміки"));
    ASSERT_TRUE(headset.load());
    EXPECT_EQ(headset.selectedInput(), 0); // "Мікрофон" is not "Мікрофон гарнітури": automatic
}

TEST_F(HeadsetSettingsTest, AHeadsetThatIsGoneKeepsTheAutomaticChoiceAndStillCounts)
{
    writeFile(QStringLiteral("USB Headset (від’єднано)"), QStringLiteral("USB Headset"));
    audio.setInputDevices({QStringLiteral("Вбудований мікрофон"), QStringLiteral("Мікрофон гарнітури")}, 1);
    ASSERT_TRUE(headset.load());
    EXPECT_EQ(headset.selectedInput(), 1);
    EXPECT_EQ(headset.selectedOutput(), 0);
    EXPECT_TRUE(headset.locked());
}

TEST_F(HeadsetSettingsTest, AnEmptyKeyOrAComputerWithoutDevicesFails)
{
    writeFile(QString(), QStringLiteral("Динаміки"));
    EXPECT_FALSE(headset.load());
    EXPECT_FALSE(headset.locked());

    writeFile(QStringLiteral("Мікрофон гарнітури"), QStringLiteral("Динаміки"));
    audio.setOutputDevices({});
    EXPECT_FALSE(headset.load());
    EXPECT_EQ(headset.outputDeviceIndex(), -2);
    // Nothing to save without a selection on both sides.
    EXPECT_FALSE(headset.save(prompts));
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(HeadsetSettingsTest, ADeclinedSaveWritesNothing)
{
    headset.load();
    prompts.answerQuestion(false);
    EXPECT_FALSE(headset.save(prompts));
    EXPECT_FALSE(QFile::exists(file()));
}
