#include "platform/AtomicFile.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AtomicFile, ReplacesTheWholeFileAndCanBeOwnerOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TARIF.INI"));
    ASSERT_EQ(writeFileAtomically(path, "old"), QString());
    ASSERT_EQ(writeFileAtomically(path, "[SET_SIP]\r\nPASS=secret\r\n", FileAccess::OwnerOnly), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[SET_SIP]\r\nPASS=secret\r\n"));
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                    QFileDevice::WriteGroup | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TARIF.INI")});
}

TEST(AtomicFile, FailureIsReportedAndLeavesNothing)
{
    EXPECT_NE(writeFileAtomically(QStringLiteral("/nonexistent-folder/x.ini"), "x"), QString());
}

TEST(Prompts, CarriageReturnShowsAsALineBreak)
{
    EXPECT_EQ(promptTextForDisplay(QStringLiteral("Причина :\r1. немає\r\n2. так")),
              QStringLiteral("Причина :\n1. немає\n2. так"));
}
