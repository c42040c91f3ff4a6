#include "orders/intake/SipOperatorEntry.h"

#include <gtest/gtest.h>

TEST(SipOperatorEntry, ReadsEveryPartOfAFullEntry)
{
    const auto entry = SipOperatorEntry::parse(QStringLiteral(
        "OPER [Мельник Мар'яна Іванівна] ATOR<Dostup>True</Dostup><IpServer>10.0.0.5</IpServer>"
        "<PortServer>5080</PortServer><IdOperator>102</IdOperator><PassServer>p<a>ss</PassServer>"
        "<DostupOutCall>0</DostupOutCall>"));
    EXPECT_EQ(entry.dispatcher, QStringLiteral("Мельник Мар'яна Іванівна"));
    EXPECT_TRUE(entry.access);
    EXPECT_EQ(entry.server, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(entry.port, QStringLiteral("5080"));
    EXPECT_EQ(entry.extension, QStringLiteral("102"));
    EXPECT_EQ(entry.password, QStringLiteral("p<a>ss"));
    EXPECT_FALSE(entry.outgoingCalls);
}

TEST(SipOperatorEntry, MissingOrMisplacedTagsGiveEmptyTextAndNo)
{
    const auto bare = SipOperatorEntry::parse(QStringLiteral("OPER [Бойко] ATOR<IpServer>10.0.0.5"));
    EXPECT_EQ(bare.dispatcher, QStringLiteral("Бойко"));
    EXPECT_FALSE(bare.access);
    EXPECT_EQ(bare.server, QString()); // no closing tag
    EXPECT_EQ(bare.port, QString());
    EXPECT_FALSE(bare.outgoingCalls);

    // A closing tag before its opening one: nothing between them.
    const auto swapped = SipOperatorEntry::parse(
        QStringLiteral("</PortServer>OPER [Х] ATOR<PortServer>5060<Dostup>2</Dostup>"));
    EXPECT_EQ(swapped.port, QString());
    EXPECT_TRUE(swapped.access); // a non-zero number is yes
    // "<Dostup>" is not found inside "<DostupOutCall>".
    const auto outOnly = SipOperatorEntry::parse(QStringLiteral("<DostupOutCall>True</DostupOutCall>"));
    EXPECT_FALSE(outOnly.access);
    EXPECT_TRUE(outOnly.outgoingCalls);
    EXPECT_EQ(outOnly.dispatcher, QString());
}

TEST(SipOperatorEntry, TheFirstEntryWithExactlyTheDispatchersNameIsFound)
{
    const QStringList entries = {
        QStringLiteral("<IdOperator>100</IdOperator>"),
        QStringLiteral("OPER [Бойко Ірина] ATOR<IdOperator>101</IdOperator>"),
        QStringLiteral("OPER [бойко ірина] ATOR<IdOperator>102</IdOperator>"),
        QStringLiteral("OPER [Бойко Ірина] ATOR<IdOperator>103</IdOperator>"),
    };
    EXPECT_EQ(SipOperatorEntry::findFor(entries, QStringLiteral("Бойко Ірина"))->extension,
              QStringLiteral("101"));
    EXPECT_EQ(SipOperatorEntry::findFor(entries, QStringLiteral("бойко ірина"))->extension,
              QStringLiteral("102"));
    EXPECT_FALSE(SipOperatorEntry::findFor(entries, QStringLiteral("Бойко")).has_value());
    // The entry without a name part belongs to nobody, not to an empty dispatcher name.
    EXPECT_FALSE(SipOperatorEntry::findFor(entries, QString()).has_value());
}
