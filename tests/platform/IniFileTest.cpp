#include "platform/IniFile.h"
#include "platform/Cp1251.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
IniFile fromText(const QString& text)
{
    return IniFile::fromBytes(*cp1251::encode(text));
}
} // namespace

TEST(IniFile, MatchesSectionsAndKeysWithoutRegardToCaseCyrillicToo)
{
    const IniFile ini =
        fromText(QStringLiteral("[Шаблони]\r\nПривіт=Добрий день\r\n[set_sip]\r\nKodMista=0332\r\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("ШАБЛОНИ"), QStringLiteral("привіт")),
              QStringLiteral("Добрий день"));
    EXPECT_EQ(ini.readString(QStringLiteral("SET_SIP"), QStringLiteral("KODMISTA")), QStringLiteral("0332"));
}

TEST(IniFile, SplitsAtTheFirstEqualsAndKeepsSemicolonsInValues)
{
    const IniFile ini =
        fromText(QStringLiteral("; a comment line\n[A]\n  Key = a=b; c ;d  \n;Hidden=1\nEmpty=\nNoEquals\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("A"), QStringLiteral("Key")), QStringLiteral("a=b; c ;d"));
    EXPECT_EQ(ini.readString(QStringLiteral("A"), QStringLiteral("Hidden"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    EXPECT_EQ(ini.readString(QStringLiteral("A"), QStringLiteral("Empty"), QStringLiteral("dflt")),
              QString());
    EXPECT_TRUE(ini.hasKey(QStringLiteral("A"), QStringLiteral("Empty")));
    EXPECT_EQ(ini.keys(QStringLiteral("a")), QStringList({QStringLiteral("Key"), QStringLiteral("Empty")}));
}

TEST(IniFile, FirstOfDuplicateSectionsAndKeysWinsAndMissingGivesDefault)
{
    const IniFile ini = fromText(QStringLiteral("[S]\nk=1\nk=2\n[T]\nk=3\n[s]\nk=4\nonly=5\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("1"));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("only"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_EQ(ini.readString(QStringLiteral("X"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(IniFile::load(QStringLiteral("/nonexistent/file.ini"))
                  .readString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST(IniFile, ReadsIntegersAsTheWindowsProfileFunctionsDo)
{
    const IniFile ini = fromText(QStringLiteral("[N]\na=42\nb= -7 km\nc=abc\nd=\ne=99999999999\n"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("N"), QStringLiteral("a"), 5), 42);
    EXPECT_EQ(ini.readInteger(QStringLiteral("N"), QStringLiteral("b"), 5), -7);
    EXPECT_EQ(ini.readInteger(QStringLiteral("N"), QStringLiteral("c"), 5), 0);
    EXPECT_EQ(ini.readInteger(QStringLiteral("N"), QStringLiteral("d"), 5), 0);
    EXPECT_EQ(ini.readInteger(QStringLiteral("N"), QStringLiteral("e"), 5), 0);
    EXPECT_EQ(ini.readInteger(QStringLiteral("N"), QStringLiteral("missing"), 5), 5);
}

TEST(IniFile, WritesCp1251WithCrLfAndKeepsOtherLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("GarnituraDispetcher.ini"));
    IniFile ini = fromText(QStringLiteral("; пристрої\n[Звук]\nВихід=Динаміки\n[Інше]\nx=1\n"));
    ini.writeString(QStringLiteral("звук"), QStringLiteral("Вхід"), QStringLiteral("Мікрофон ґ"));
    ini.writeString(QStringLiteral("ЗВУК"), QStringLiteral("вихід"), QStringLiteral("Навушники"));
    ini.writeString(QStringLiteral("Нова"), QStringLiteral("k"), QStringLiteral("v"));
    ASSERT_EQ(ini.save(path), QString());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(cp1251::decode(bytes),
              QStringLiteral("; пристрої\r\n[Звук]\r\nвихід=Навушники\r\nВхід=Мікрофон "
                             "ґ\r\n[Інше]\r\nx=1\r\n[Нова]\r\nk=v\r\n"));
    const IniFile back = IniFile::load(path);
    EXPECT_EQ(back.readString(QStringLiteral("звук"), QStringLiteral("ВХІД")), QStringLiteral("Мікрофон ґ"));
}

TEST(IniFile, ValueOutsideCp1251IsRefusedAndTheFileStaysAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ini"));
    IniFile ini;
    ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("ok"));
    ASSERT_EQ(ini.save(path), QString());
    ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("日本"));
    EXPECT_NE(ini.save(path), QString());
    EXPECT_EQ(IniFile::load(path).readString(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("ok"));
}
