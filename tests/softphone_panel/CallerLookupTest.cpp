#include "../orders_intake/IntakeFixture.h"
#include "foundation/SqlLiteral.h"
#include "orders/intake/CallerLookup.h"
#include "orders/intake/LineHealth.h"

class CallerLookupTest : public IntakeFixture
{
protected:
    void addOpenOrder(qint64 number, const QString& description, const QString& pickUp, qint64 callsign,
                      const QString& driver, int status = 0)
    {
        db->exec(QStringLiteral("INSERT INTO ZAMOVLENNIA (ZAMOVL_NUMBER, ZAMOVL_PRICHINA_DELETE, ZAMOVL_POCHAT_PUNKT, "
                                "ZAMOVL_POZIVNIY, ZAMOVL_FIO_TAXI, ZAMOVL_STATUS_ZAMOVL) VALUES (%1, %2, %3, %4, %5, %6)")
                     .arg(sql::integer(number), sql::text(description), sql::text(pickUp), sql::integer(callsign),
                          sql::text(driver), sql::integer(status)));
    }
    CallerLookup lookup() { return CallerLookup(*ws->dani); }
};

TEST_F(CallerLookupTest, TheRingingOrderIsTheOpenOneWhoseBracketedTelephoneIsTheCaller)
{
    addOpenOrder(10, QStringLiteral("{швидке}   тел.:[0671234567]   тариф:[Місто]  ()"), QStringLiteral("Шевченка 5"),
                 7, QStringLiteral("Іван"));
    addOpenOrder(11, QStringLiteral("{швидке}   тел.:[0671234567]   тариф:[Місто]  ()"), QStringLiteral("Закрите"),
                 0, {}, 1);
    // The digits occur, but only in the notes.
    addOpenOrder(12, QStringLiteral("{швидке}   тел.:[050]   тариф:[Місто]  (передзвонити 0671234567)"),
                 QStringLiteral("Ні"), 0, {});
    EXPECT_EQ(lookup().openOrderFor(QStringLiteral("0671234567")),
              std::optional<QString>(QStringLiteral("№ 10, Шевченка 5, 7 Іван")));

    addOpenOrder(13, QStringLiteral("{попереднє}   тел.:[+380671234567]   тариф:[Місто]  ()"),
                 QStringLiteral("Ранкова 1"), 0, {});
    EXPECT_EQ(lookup().openOrderFor(QStringLiteral("0671234567"), QStringLiteral("+380671234567")),
              std::optional<QString>(QStringLiteral("№ 13, Ранкова 1, водія не призначено")));
    EXPECT_EQ(lookup().openOrderFor(QStringLiteral("0501112233")), std::nullopt);
}

TEST_F(CallerLookupTest, AHostileCallerReachesTheQueriesOnlyAsTelephoneCharacters)
{
    addClient(QStringLiteral("00042"), QStringLiteral("Д'Артаньян"), QStringLiteral("0671234567"));
    EXPECT_EQ(lookup().clientNameFor(QStringLiteral("067'1234567%' OR ''='")), QStringLiteral("Д'Артаньян"));
    EXPECT_EQ(lookup().clientNameFor(QStringLiteral("'%")), QString());
    EXPECT_EQ(lookup().openOrderFor(QStringLiteral("')--")), std::nullopt);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM KLIENT")), 1);
}

TEST_F(CallerLookupTest, TheDispatchersNumberIsReadByHisFullName)
{
    db->exec(QStringLiteral("DELETE FROM PRACIVNIK"));
    db->exec(QStringLiteral("INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO) VALUES (12, 'Оля О''Коннор')"));
    db->exec(QStringLiteral("INSERT INTO PRACIVNIK (TABLE_PRACIV_NOMER, TABLE_PRACIV_FIO) VALUES (NULL, 'Без номера')"));
    EXPECT_EQ(lookup().dispatcherNumber(QStringLiteral("Оля О'Коннор")), std::optional<int>(12));
    EXPECT_EQ(lookup().dispatcherNumber(QStringLiteral("Без номера")), std::nullopt);
    EXPECT_EQ(lookup().dispatcherNumber(QStringLiteral("Нікого")), std::nullopt);
}

TEST(LineHealth, GreenOnlyWhileConfirmedInTimeAndAnswered)
{
    const QDateTime confirmed(QDate(2026, 3, 2), QTime(12, 3, 15));
    LineHealth::Facts facts{true, {}, true, true, confirmed, confirmed.addSecs(1800), confirmed.addSecs(60)};
    EXPECT_EQ(LineHealth::evaluate(facts),
              (LineHealth{LineHealth::Level::Registered, QStringLiteral("зареєстровано о 12:03:15")}));

    facts.serverAnswering = false;
    EXPECT_EQ(LineHealth::evaluate(facts).level, LineHealth::Level::Lapsed);
    facts.serverAnswering = true;
    facts.now = confirmed.addSecs(1800);
    EXPECT_EQ(LineHealth::evaluate(facts).level, LineHealth::Level::Lapsed);
    facts.failure = QStringLiteral("Невірний пароль / логін ...");
    EXPECT_EQ(LineHealth::evaluate(facts),
              (LineHealth{LineHealth::Level::Failing, QStringLiteral("Невірний пароль / логін ...")}));
    facts.switchedOn = false;
    EXPECT_EQ(LineHealth::evaluate(facts).level, LineHealth::Level::Off);
}
