#include "foundation/SqlLiteral.h"
#include "foundation/TextHelpers.h"
#include "support/DatabaseSuite.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

TEST(SqlLiteral, FormatsDatesTimesAndAmountsAsTheDatabaseExpects)
{
    EXPECT_EQ(sql::date(QDate(2026, 3, 1)), QStringLiteral("'01.03.2026'"));
    EXPECT_EQ(sql::timeHm(QTime(7, 5, 59)), QStringLiteral("'07:05'"));
    EXPECT_EQ(sql::timeHms(QTime(7, 5, 9)), QStringLiteral("'07:05:09'"));
    EXPECT_EQ(sql::timestamp(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))),
              QStringLiteral("'02.01.2026 03:04:05'"));
    EXPECT_EQ(sql::amount(12.349), QStringLiteral("12.34")); // cut, not rounded
    EXPECT_EQ(sql::amount(0.29), QStringLiteral("0.29"));
    EXPECT_EQ(sql::amount(-0.5), QStringLiteral("-0.5"));
    EXPECT_EQ(sql::amount(40), QStringLiteral("40"));
    EXPECT_EQ(shownAmount(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(sql::amount(std::numeric_limits<double>::infinity()), QStringLiteral("0"));
}

TEST(SqlLiteral, OnlyAPlainDecimalGoesInAsADecimal)
{
    EXPECT_EQ(sql::decimal(QStringLiteral("-12.05")), QStringLiteral("-12.05"));
    EXPECT_EQ(sql::decimal(QStringLiteral("7")), QStringLiteral("7"));
    for (const char* bad :
         {"", "-", "1,5", "1.", ".5", "1.2.3", "1e5", "+5", " 5", "5; DELETE FROM KLIENT", "١٢"})
        EXPECT_EQ(sql::decimal(QString::fromUtf8(bad)), QStringLiteral("0")) << bad;
}

TEST(SqlLiteral, TypedNumbersThatDoNotParseCountAsZero)
{
    EXPECT_EQ(typedInteger(QStringLiteral(" 42 ")), 42);
    EXPECT_EQ(typedInteger(QStringLiteral("42; DROP TABLE KLIENT")), 0);
    EXPECT_EQ(typedInteger(QString()), 0);
    EXPECT_DOUBLE_EQ(typedAmount(QStringLiteral("12,5")), 12.5);
    EXPECT_DOUBLE_EQ(typedAmount(QStringLiteral("1e400")), 0.0);
    EXPECT_DOUBLE_EQ(typedAmount(QStringLiteral("п'ять")), 0.0);
}

TEST(SqlLiteral, SmallTextHelpers)
{
    EXPECT_EQ(ZeroPad5(7), QStringLiteral("00007"));
    EXPECT_EQ(ZeroPad5(-7), QStringLiteral("000-7"));
    EXPECT_EQ(ZeroPad5(123456), QStringLiteral("123456"));
    EXPECT_EQ(ExtractBetween(QStringLiteral("[12] Петренко"), QStringLiteral("["), QStringLiteral("]")),
              QStringLiteral("12"));
    EXPECT_EQ(ExtractBetween(QStringLiteral("]a["), QStringLiteral("["), QStringLiteral("]")), QString());
    EXPECT_EQ(ExtractBetween(QStringLiteral("no markers"), QStringLiteral("["), QStringLiteral("]")),
              QString());
}

class SqlLiteralDatabase : public DatabaseSuite
{
protected:
};

TEST_F(SqlLiteralDatabase, ApostrophesAreStoredAsTypedInEveryKindOfText)
{
    const QString name = QStringLiteral("Мар'яна О'Ніл");
    const QString street = QStringLiteral("[вул. Лук'янівська]{3'А}");
    const QString attack = QStringLiteral("x'); DELETE FROM KLIENT; --");
    db->exec(QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_ADRESS, KLIENT_DODATKOVO) "
                            "VALUES (%1, %2, %3, %4)")
                 .arg(sql::nextNumber(QStringLiteral("KLIENT_NUMBER"), QStringLiteral("KLIENT"), 1),
                      sql::text(name), sql::text(street), sql::text(attack)));
    const FbRows rows = db->exec(
        QStringLiteral("SELECT KLIENT_FIO, KLIENT_ADRESS, KLIENT_DODATKOVO FROM KLIENT WHERE KLIENT_FIO = %1")
            .arg(sql::text(name)));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.rows[0][0].toString(), name);
    EXPECT_EQ(rows.rows[0][1].toString(), street);
    EXPECT_EQ(rows.rows[0][2].toString(), attack);
    db->exec(QStringLiteral("DELETE FROM KLIENT"));
}

TEST_F(SqlLiteralDatabase, NumberingStartsAtTheGivenFirstNumber)
{
    for (int i = 0; i < 2; ++i)
        db->exec(QStringLiteral(
                     "INSERT INTO MSG_FOR_VODIY (MSG_FOR_VODIY_NP, MSG_FOR_VODIY_TEXT) VALUES (%1, 'x')")
                     .arg(sql::nextNumber(QStringLiteral("MSG_FOR_VODIY_NP"), QStringLiteral("MSG_FOR_VODIY"),
                                          0)));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT MIN(MSG_FOR_VODIY_NP) FROM MSG_FOR_VODIY")), 0);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT MAX(MSG_FOR_VODIY_NP) FROM MSG_FOR_VODIY")), 1);

    db->exec(
        QStringLiteral("INSERT INTO BL_VODII (BL_VODIY_NOMER, BL_AVTO_POZIVN, BL_STATUS) VALUES (%1, 5, 1)")
            .arg(sql::nextNumber(QStringLiteral("BL_VODIY_NOMER"), QStringLiteral("BL_VODII"), 1)));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT BL_VODIY_NOMER FROM BL_VODII")), 1);
}

TEST_F(SqlLiteralDatabase, ADuplicateNumberFromARaceIsRefused)
{
    db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP) VALUES (7)"));
    EXPECT_THROW(db->exec(QStringLiteral("INSERT INTO KARTA_MISTA (KOORD_KART_MISTA_NP) VALUES (7)")),
                 std::exception);
    db->exec(QStringLiteral("DELETE FROM KARTA_MISTA"));
}

TEST_F(SqlLiteralDatabase, ClientCodeMatchesWithItsBracketsOnly)
{
    db->exec(QStringLiteral(
        "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_DODATKOVO) VALUES (1, '[00420] постійний')"));
    db->exec(
        QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_DODATKOVO) VALUES (2, 'тел. 42 [00042]')"));
    const auto count = [&](qint64 code) {
        return db->scalar(QStringLiteral("SELECT COUNT(*) FROM KLIENT WHERE ") +
                          sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), code));
    };
    EXPECT_EQ(count(42), 1);
    EXPECT_EQ(count(420), 1);
    EXPECT_EQ(count(4), 0);
    db->exec(QStringLiteral("DELETE FROM KLIENT"));
}

TEST_F(SqlLiteralDatabase, GprsMarkerCountsAnywhereInTheModel)
{
    for (const char* model : {"{GPRS}Ланос", "Ланос {GPRS}", "Ланос GPRS", "Ланос"})
        db->exec(
            QStringLiteral("INSERT INTO ZADIANI_AVTO (ZAD_AVTO_POZIVNIY, ZAD_AVTO_MARKA_AVTO) VALUES (1, %1)")
                .arg(sql::text(QString::fromUtf8(model))));
    EXPECT_EQ(
        db->scalar(QStringLiteral("SELECT COUNT(*) FROM ZADIANI_AVTO WHERE ") +
                   sql::containsCondition(QStringLiteral("ZAD_AVTO_MARKA_AVTO"), QStringLiteral("{GPRS}"))),
        2);
    db->exec(QStringLiteral("DELETE FROM ZADIANI_AVTO"));
}
