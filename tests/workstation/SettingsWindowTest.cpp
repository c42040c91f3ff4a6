#include "WorkstationFixture.h"
#include "foundation/SettingCaptions.h"
#include "foundation/SettingKeys.h"

#include <QRegularExpression>

// The settings window names every value as the dispatcher knows it.
class SettingsWindow : public WorkstationWindow
{
protected:
    void SetUp() override
    {
        WorkstationWindow::SetUp();
        logIn();
        // The distribution settings come from TARIF.INI; set here so they are shown whatever it holds.
        ws->settings.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kMaxAutoDistance,
                              QStringLiteral("900"));
        ws->settings.setFlag(SettingsStore::kOrderLogicGroup, SettingKeys::kAutoFreeRides, true);
    }
};

TEST_F(SettingsWindow, NoValueIsCaptionedWithItsColumnOrKeyName)
{
    const QRegularExpression keyLike(QStringLiteral("^[A-Za-z0-9_/{}]+$"));
    int shown = 0;
    for (const QString& group : SettingsStore::groupCaptions())
        for (const QString& key : ws->settings.keysOf(group)) {
            const QString caption = ws->form4.shownCaption(key);
            if (caption.isEmpty())
                continue; // kept off the screen (the operators' entries) or shown by the group itself
            ++shown;
            EXPECT_FALSE(keyLike.match(caption).hasMatch())
                << key.toStdString() << ": " << caption.toStdString();
            EXPECT_NE(caption, QStringLiteral("Налаштування")) << key.toStdString();
        }
    EXPECT_GT(shown, 20);
}

TEST_F(SettingsWindow, RightsAndOrderLogicReadAsTheirCaptions)
{
    EXPECT_EQ(ws->form4.shownCaption(QStringLiteral("TABLE_PRACIV_DOST_ADMIN")),
              QStringLiteral("Доступ адміністратора"));
    EXPECT_EQ(ws->form4.shownGroup(QStringLiteral("TABLE_PRACIV_DOST_ADMIN")), SettingsStore::kUserGroup);
    EXPECT_EQ(ws->form4.shownCaption(QStringLiteral("TABLE_PRACIV_DOST_ZAMOVL")),
              QStringLiteral("Доступ до таблиці виконаних і знищених замовлень"));
    EXPECT_EQ(ws->form4.shownCaption(SettingKeys::kAverageSpeed),
              QStringLiteral("Середня швидкість авто-таксі, км./год."));
    EXPECT_EQ(ws->form4.shownCaption(SettingKeys::kRollCall),
              QStringLiteral("Час перезмінки / переклички авто"));
    EXPECT_EQ(ws->form4.shownValue(SettingKeys::kRollCall), QStringLiteral("08:00"));
    EXPECT_EQ(ws->form4.shownGroup(SettingKeys::kRollCall), SettingsStore::kOrderLogicGroup);
    // The distribution settings sit in their own sub-group of the order logic.
    EXPECT_EQ(ws->form4.shownGroup(SettingKeys::kMaxAutoDistance), SettingCaptions::kAutoDistributionGroup);
    EXPECT_EQ(ws->form4.shownValue(SettingKeys::kMaxAutoDistance), QStringLiteral("900"));
    EXPECT_EQ(ws->form4.shownGroup(SettingKeys::kAutoFreeRides), SettingCaptions::kAutoDistributionGroup);
}
