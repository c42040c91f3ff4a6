#include "orders/intake/ClientCard.h"
#include "orders/intake/ClientCardEditor.h"
#include "orders/intake/ClientLookup.h"
#include "orders/intake/ClientWarnings.h"
#include "orders/intake/PreviousAddresses.h"
#include "orders/intake/TelephoneHistory.h"

#include <gtest/gtest.h>

TEST(ClientRules, CodesAndPasswordsInTheExtraText)
{
    EXPECT_EQ(ClientCard::codeText(12), QStringLiteral("00012"));
    EXPECT_EQ(ClientCard::codeText(123456), QStringLiteral("123456"));
    EXPECT_EQ(ClientCard::codeIn(QStringLiteral("[00042] приватний (секрет)")), QStringLiteral("00042"));
    EXPECT_EQ(ClientCard::codeIn(QStringLiteral("без коду")), ClientCard::kUnknownCode);
    EXPECT_EQ(ClientCard::passwordIn(QStringLiteral("[00042] приватний (секрет)")), QStringLiteral("секрет"));
    EXPECT_EQ(ClientCard::passwordIn(QStringLiteral("[00042] ) приватний (a)")), QStringLiteral("a"));
    EXPECT_EQ(ClientCard::passwordIn(QStringLiteral("[00042] приватний")), QString());

    // Taken codes: every bracketed text, as a search for "[" code "]" would find it.
    const QSet<QString> taken =
        ClientCardEditor::codesIn({QStringLiteral("[00101] приватний ()"),
                                   QStringLiteral("картка [[00102]] (x)"), QStringLiteral("[00103")});
    EXPECT_TRUE(taken.contains(QStringLiteral("00101")));
    EXPECT_TRUE(taken.contains(QStringLiteral("00102")));
    EXPECT_FALSE(taken.contains(QStringLiteral("00103")));
}

TEST(ClientRules, DebtorWarningListsEveryMatchingEntry)
{
    const QStringList blackList = {QStringLiteral("борг 200 грн [00042] з березня"),
                                   QStringLiteral("[00420] інший"), QStringLiteral("[00042]")};
    const QStringList lines = ClientWarnings::debtorLines(blackList, QStringLiteral("00042"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("На даний код є запис у списку боржників !!!"));
    EXPECT_EQ(lines[1], QString(35, QLatin1Char('=')));
    EXPECT_EQ(lines[2], QStringLiteral("   борг 200 грн [00042] з березня"));
    EXPECT_EQ(lines[3], QStringLiteral("   [00042]"));
    EXPECT_EQ(lines[4], QString(35, QLatin1Char('=')));
    EXPECT_EQ(lines[5], QStringLiteral("ПЕРЕВІРЬТЕ ЧИ МОЖНА СТВОРЮВАТИ ЗАМОВЛЕННЯ ДАНОМУ КЛІЄНТУ !!!"));
    EXPECT_TRUE(ClientWarnings::debtorLines(blackList, QStringLiteral("00004")).isEmpty());
}

TEST(ClientRules, BirthdaysCompareDayAndMonthAsDates)
{
    const QDate born(1980, 3, 5);
    EXPECT_TRUE(ClientWarnings::isBirthday(born, QDate(2026, 3, 5)));
    EXPECT_FALSE(ClientWarnings::isBirthday(born, QDate(2026, 5, 3)));
    EXPECT_FALSE(ClientWarnings::isBirthday(born, QDate(2026, 3, 15)));
    EXPECT_FALSE(ClientWarnings::isBirthday(QDate(1980, 3, 15), QDate(2026, 3, 5)));
    const QDate leapDay(1984, 2, 29);
    EXPECT_TRUE(ClientWarnings::isBirthday(leapDay, QDate(2028, 2, 29)));
    EXPECT_FALSE(ClientWarnings::isBirthday(leapDay, QDate(2028, 2, 28)));
    EXPECT_TRUE(ClientWarnings::isBirthday(leapDay, QDate(2027, 2, 28))); // no 29th this year
    EXPECT_FALSE(ClientWarnings::isBirthday(leapDay, QDate(2027, 3, 1)));
    EXPECT_FALSE(ClientWarnings::isBirthday(QDate(), QDate(2027, 3, 1)));
}

TEST(ClientRules, TelephoneHistoryAndTheCallersNumber)
{
    TelephoneHistory history;
    history.add(QStringLiteral("0671234567"), QDateTime(QDate(2026, 3, 2), QTime(9, 5, 7)));
    history.add(QStringLiteral("  "), QDateTime(QDate(2026, 3, 2), QTime(9, 6)));
    history.add(QStringLiteral("332211"), QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    ASSERT_EQ(history.entries().size(), 2);
    EXPECT_EQ(history.entries()[0], QStringLiteral("[02.03.2026 10:00:00]> 332211"));
    EXPECT_EQ(history.entries()[1], QStringLiteral("[02.03.2026 09:05:07]> 0671234567"));
    EXPECT_EQ(TelephoneHistory::numberOf(history.entries()[1]), QStringLiteral("0671234567"));
    EXPECT_EQ(TelephoneHistory::numberOf(QStringLiteral("0671234567")), QStringLiteral("0671234567"));
    history.clear();
    EXPECT_TRUE(history.entries().isEmpty());

    EXPECT_EQ(ClientLookup::callerNumber(QStringLiteral("+38 (067) 123-45-67")),
              QStringLiteral("+380671234567"));
    EXPECT_EQ(ClientLookup::callerNumber(QStringLiteral("*21#")), QStringLiteral("*21#"));
    EXPECT_EQ(ClientLookup::callerNumber(QStringLiteral("067' OR '1'='1")), QStringLiteral("06711"));
    EXPECT_EQ(ClientLookup::callerNumber(QStringLiteral("%_٣")), QString());
    EXPECT_EQ(ClientLookup::callerNumber(QString(100, QLatin1Char('7'))).size(), 32);
}

TEST(ClientRules, PreviousAddressesAreFifteenDifferentOnes)
{
    QStringList newestFirst;
    for (int i = 1; i <= 20; ++i)
        newestFirst << QStringLiteral("[вул. Ринкова]{%1}").arg(i)
                    << QStringLiteral("[вул. Ринкова]{%1}").arg(i);
    newestFirst.prepend(QStringLiteral("[вул. Ринкова]{1")); // a part of a later one is taken: it came first
    newestFirst.insert(3, QStringLiteral("Ринкова]{1}"));    // a part of one already taken is not
    const QStringList picked = PreviousAddresses::pick(newestFirst);
    ASSERT_EQ(picked.size(), PreviousAddresses::kLimit);
    EXPECT_EQ(picked[0], QStringLiteral("[вул. Ринкова]{1"));
    EXPECT_EQ(picked[1], QStringLiteral("[вул. Ринкова]{1}"));
    EXPECT_EQ(picked[2], QStringLiteral("[вул. Ринкова]{2}"));
    EXPECT_EQ(picked.last(), QStringLiteral("[вул. Ринкова]{14}"));
}
