#include "foundation/ServerSettings.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "foundation/ui/TForm4.h"
#include "platform/BaseFolder.h"
#include "platform/Cp1251.h"
#include "platform/ScriptedPrompts.h"
#include "support/RecordingView.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class ServerSettingsFile : public ::testing::Test
{
protected:
    void SetUp() override { BaseFolder::overrideForTests(folder.path()); }
    void TearDown() override { BaseFolder::overrideForTests({}); }
    void write(const QByteArray& content)
    {
        QFile file(folder.filePath(QStringLiteral("SETSERVER.INI")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QTemporaryDir folder;
};

TEST_F(ServerSettingsFile, ComposesTheDatabaseNameWithNothingInBetween)
{
    write("[SHLYAH_BAZA]\r\nSERVER=db-host:\r\nPATH_BAZA=/srv/taxi/\r\nNAME_BAZA=TAXI.FDB\r\n"
          "[SET_SERV]\r\nLOGIN=SYSDBA\r\nPASS=pa;ss=word\r\n");
    const ServerSettings s = ServerSettings::read(folder.filePath(QStringLiteral("SETSERVER.INI")));
    // A folder ending in a separator gives it doubled, passed on unchanged.
    EXPECT_EQ(s.databaseName(), QStringLiteral("db-host:/srv/taxi//TAXI.FDB"));
    EXPECT_EQ(s.pass, QStringLiteral("pa;ss=word"));
}

TEST_F(ServerSettingsFile, WithoutSetServTheLoginAndPasswordAreEmpty)
{
    write("[shlyah_baza]\nPATH_BAZA=/var/db\nNAME_BAZA=A.FDB\n");
    SettingsStore store;
    LoadServerSettings(store);
    EXPECT_EQ(store.value(SettingsStore::kLogin, QStringLiteral("x")), QString());
    EXPECT_EQ(store.value(SettingsStore::kPass, QStringLiteral("x")), QString());
    EXPECT_EQ(ServerSettings::fromStore(store).databaseName(), QStringLiteral("/var/db/A.FDB"));
}

TEST_F(ServerSettingsFile, MissingFileGivesSeparatorAloneAndTheConnectionMessage)
{
    SettingsStore store;
    LoadServerSettings(store);
    EXPECT_EQ(ServerSettings::fromStore(store).databaseName(), QStringLiteral("/"));
    ScriptedPrompts prompts;
    RecordingView view;
    TDANI dani(store, prompts);
    dani.setView(&view);
    EXPECT_FALSE(dani.ConnectDatabase());
    EXPECT_FALSE(dani.BAZA.isConnected());
    EXPECT_EQ(prompts.messages(), QStringList{TDANI::connectionFailedMessage()});
    // The caption is set before connecting, so it shows what was read.
    EXPECT_EQ(view.caption, QStringLiteral("Диспетчер \"ZORvane-TAXI\"  []"));
}

TEST_F(ServerSettingsFile, AFileThatIsNotADatabaseGivesTheMessage)
{
    QFile junk(folder.filePath(QStringLiteral("JUNK.FDB")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(65536, 'x'));
    junk.close();
    write(QStringLiteral("[SHLYAH_BAZA]\nPATH_BAZA=%1\nNAME_BAZA=JUNK.FDB\n[SET_SERV]\nLOGIN=SYSDBA\n")
              .arg(folder.path())
              .toUtf8());
    SettingsStore store;
    LoadServerSettings(store);
    ScriptedPrompts prompts;
    TDANI dani(store, prompts);
    EXPECT_FALSE(dani.ConnectDatabase());
    EXPECT_EQ(prompts.messages().size(), 1);
}

TEST_F(ServerSettingsFile, SettingsWindowShowsExactlyWhatWasRead)
{
    write(*cp1251::encode(QStringLiteral("[SHLYAH_BAZA]\r\nNAME_BAZA=Таксі.FDB\r\n")));
    SettingsStore store;
    TForm4 window(store); // reads SETSERVER.INI while it is created
    EXPECT_EQ(window.shownValue(SettingsStore::kNameBaza), QStringLiteral("Таксі.FDB"));
    EXPECT_EQ(window.shownValue(SettingsStore::kServer), QString()); // empty, not "не задано"
    EXPECT_EQ(window.shownValue(SettingsStore::kPass), QString());
    EXPECT_EQ(store.groupOf(SettingsStore::kLogin), SettingsStore::kServerGroup);
}

TEST_F(ServerSettingsFile, SettingsWindowMasksTheDatabasePasswordButConnectsWithIt)
{
    write("[SHLYAH_BAZA]\r\nNAME_BAZA=A.FDB\r\n[SET_SERV]\r\nLOGIN=SYSDBA\r\nPASS=Sekret-42\r\n");
    SettingsStore store;
    TForm4 window(store);
    const QString shown = window.shownValue(SettingsStore::kPass);
    EXPECT_FALSE(shown.isEmpty()); // a password is set, and the window says so
    for (const QLabel* label : window.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("Sekret"))) << label->text().toStdString();
    EXPECT_EQ(ServerSettings::fromStore(store).pass, QStringLiteral("Sekret-42"));

    // A value set later is masked as well, and a shorter one looks the same.
    store.setValue(SettingsStore::kServerGroup, SettingsStore::kPass, QStringLiteral("ab"));
    EXPECT_EQ(window.shownValue(SettingsStore::kPass), shown);
}
