#include "orders/intake/Money.h"
#include "foundation/SqlLiteral.h"

#include <gtest/gtest.h>

namespace {
Money m(const char* text)
{
    return Money::typed(QString::fromUtf8(text));
}
QString shown(const char* text)
{
    return m(text).shown();
}
} // namespace

TEST(Money, ReadsADecimalCommaOrPointAndNothingElse)
{
    EXPECT_EQ(shown("12,5"), QStringLiteral("12,5"));
    EXPECT_EQ(shown("12.5"), QStringLiteral("12,5"));
    EXPECT_EQ(shown(" -0,05 "), QStringLiteral("-0,05"));
    EXPECT_EQ(shown("+7"), QStringLiteral("7"));
    EXPECT_EQ(shown(",5"), QStringLiteral("0,5"));
    EXPECT_EQ(shown("5."), QStringLiteral("5"));
    EXPECT_EQ(shown("1,5e2"), QStringLiteral("150"));
    EXPECT_EQ(shown("25E-3"), QStringLiteral("0,025"));
    EXPECT_EQ(shown("007,50"), QStringLiteral("7,5"));
    for (const char* unreadable : {"", " ", "nan", "NaN", "inf", "-inf", "Infinity", "1.234,5", "12,5 грн",
                                   "п'ять", "1e", "e5", ".", "-", "1e400", "1234567890123456789"})
        EXPECT_FALSE(Money::parse(QString::fromUtf8(unreadable)).has_value()) << unreadable;
    EXPECT_EQ(shown("nan"), QStringLiteral("0"));
    EXPECT_EQ(shown("1e-400"), QStringLiteral("0")); // too small to hold: nothing is left
}

TEST(Money, ShowsTheShortestFormWithFifteenDigitsAndNeverAnExponent)
{
    EXPECT_EQ(shown("0,10"), QStringLiteral("0,1"));
    EXPECT_EQ(shown("100"), QStringLiteral("100"));
    EXPECT_EQ(shown("0,0000001"), QStringLiteral("0,0000001"));
    EXPECT_EQ(shown("1e14"), QStringLiteral("100000000000000"));
    EXPECT_EQ(shown("123456789012345678"), QStringLiteral("123456789012345000")); // 15 digits, cut
    EXPECT_EQ(shown("1,23456789012345678"), QStringLiteral("1,23456789012345"));
    EXPECT_EQ(m("-0,001").cutToCents().shown(), QStringLiteral("0")); // no "-0"
    EXPECT_EQ(m("12,05").sqlText(), QStringLiteral("12.05"));
}

TEST(Money, CutsToCentsOnTheDecimalValueNeverRounding)
{
    EXPECT_EQ(m("123,4567").cutToCents().shown(), QStringLiteral("123,45"));
    EXPECT_EQ(m("0,29").cutToCents().shown(), QStringLiteral("0,29"));    // 0.28999… in a double
    EXPECT_EQ(m("-1,239").cutToCents().shown(), QStringLiteral("-1,23")); // toward zero
    EXPECT_EQ((m("0,6666") * m("1")).cutToCents().shown(), QStringLiteral("0,66"));
    EXPECT_EQ((m("3,33") * m("3")).cutToCents().shown(), QStringLiteral("9,99"));
    EXPECT_EQ((m("29,70") - m("29,69")).cutToCents().shown(), QStringLiteral("0,01"));
    EXPECT_EQ((m("0,1") + m("0,2")).shown(), QStringLiteral("0,3"));
    EXPECT_EQ((m("1,15") * m("100")).cutToCents().shown(), QStringLiteral("115"));
    EXPECT_EQ(m("200").percent(m("12,5")).shown(), QStringLiteral("25"));
}

TEST(Money, ComparesAndDividesExactly)
{
    EXPECT_TRUE(m("10") > m("9,99"));
    EXPECT_TRUE(m("5,0") == m("5"));
    EXPECT_TRUE(m("-0,01").isNegative());
    EXPECT_EQ(Money::roundedQuotient(m("5"), m("2")), 2); // 2,5 → even 2
    EXPECT_EQ(Money::roundedQuotient(m("7"), m("2")), 4); // 3,5 → even 4
    EXPECT_EQ(Money::roundedQuotient(m("-5"), m("2")), -2);
    EXPECT_EQ(Money::roundedQuotient(m("2,51"), m("1")), 3);
    EXPECT_EQ(Money::roundedQuotient(m("1"), m("0,3")), 3); // 3,33…
    EXPECT_FALSE(Money::roundedQuotient(m("1"), m("0")).has_value());
}

TEST(Money, StoredValuesKeepTheirCents)
{
    EXPECT_EQ(Money::fromStored(QVariant(0.29)).shown(), QStringLiteral("0,29"));
    EXPECT_EQ(Money::fromStored(QVariant(9999999999999.99)).shown(), QStringLiteral("9999999999999,99"));
    EXPECT_EQ(Money::fromStored(QVariant(qint64(42))).shown(), QStringLiteral("42"));
    EXPECT_EQ(Money::fromStored(QVariant()).shown(), QStringLiteral("0"));
    EXPECT_EQ(Money::fromStored(QVariant(QStringLiteral("12,5"))).shown(), QStringLiteral("12,5"));
}

TEST(Money, ItsSqlTextPassesTheLiteralHelper)
{
    for (const char* value : {"-12,05", "7", "0,001", "123456789012345", "-0,5"})
        EXPECT_EQ(sql::decimal(m(value).sqlText()), m(value).sqlText()) << value;
}
