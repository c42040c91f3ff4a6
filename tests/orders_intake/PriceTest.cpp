#include "orders/intake/Price.h"
#include "orders/intake/TariffGrid.h"
#include "orders/intake/TripTiming.h"
#include "platform/Cp1251.h"

#include <gtest/gtest.h>

namespace {

// A tariff with a boarding fee of 15 and 4,2 per km in town, nothing else.
PriceInput cityTrip(const QString& km = QStringLiteral("3,5"))
{
    PriceInput in;
    in.tariffChosen = true;
    in.prices = {QStringLiteral("15"), QStringLiteral("4,2"), QStringLiteral("8"), QStringLiteral("10"),
                 QStringLiteral("1,5")};
    in.kmInTown = km;
    in.vatPercent = QStringLiteral("0");
    in.jubileeLimit = QStringLiteral("40");
    return in;
}

} // namespace

TEST(Price, TheExampleTripAndEveryAmount)
{
    const PriceResult r = Price::recalculate(cityTrip());
    EXPECT_EQ(r.town, QStringLiteral("14,7"));
    EXPECT_EQ(r.acceptance, QStringLiteral("15"));
    EXPECT_EQ(r.outOfTown, QStringLiteral("0"));
    EXPECT_EQ(r.waiting, QStringLiteral("0"));
    EXPECT_EQ(r.preliminary, QStringLiteral("0"));
    EXPECT_EQ(r.jubilee, QStringLiteral("0"));
    EXPECT_EQ(r.subtotal, QStringLiteral("29,7"));
    EXPECT_EQ(r.vat, QStringLiteral("0"));
    EXPECT_EQ(r.sumToPay, QStringLiteral("29,7"));
    EXPECT_TRUE(r.complete());

    PriceInput all = cityTrip();
    all.kmOutOfTown = QStringLiteral("2.25"); // 18
    all.waitingMinutes = QStringLiteral("3"); // 4,5
    all.preliminary = true;                   // 10
    all.vatPercent = QStringLiteral("20");
    const PriceResult full = Price::recalculate(all);
    EXPECT_EQ(full.outOfTown, QStringLiteral("18"));
    EXPECT_EQ(full.waiting, QStringLiteral("4,5"));
    EXPECT_EQ(full.preliminary, QStringLiteral("10"));
    EXPECT_EQ(full.subtotal, QStringLiteral("62,2"));
    EXPECT_EQ(full.vat, QStringLiteral("12,44"));
    EXPECT_EQ(full.sumToPay, QStringLiteral("74,64"));
}

TEST(Price, WithoutATariffNothingIsPriced)
{
    PriceInput in = cityTrip();
    in.tariffChosen = false;
    const PriceResult r = Price::recalculate(in);
    EXPECT_EQ(r.sumToPay, Price::kNotAllData);
    EXPECT_FALSE(r.complete());
    EXPECT_EQ(r.town, QStringLiteral("0"));
    EXPECT_EQ(r.acceptance, QStringLiteral("0")); // the prices of no tariff are never used
    EXPECT_TRUE(r.sum.isZero());
}

TEST(Price, OnlyTheLargerDiscountAppliesAndOnlyOnce)
{
    PriceInput in = cityTrip(QStringLiteral("85/42")); // unreadable: 0 km, boarding 15 only
    in.prices.boarding = QStringLiteral("100");
    in.personalDiscount = QStringLiteral("5");
    in.promotionalDiscount = QStringLiteral("10");
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("90"));
    std::swap(in.personalDiscount, in.promotionalDiscount);
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("90"));
    in.personalDiscount = in.promotionalDiscount = QStringLiteral("7,5"); // a tie: one of them, once
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("92,5"));
    in.personalDiscount = in.promotionalDiscount = QStringLiteral("0");
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("100"));
    in.personalDiscount = QStringLiteral("знижка"); // unreadable: none
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("100"));
    // The discount acts on the sum with VAT, and the result is cut, not rounded.
    in.personalDiscount = QStringLiteral("3");
    in.vatPercent = QStringLiteral("20");
    in.prices.boarding = QStringLiteral("10,99"); // 10,99 + 2,19 = 13,18; −3 % = 12,7846
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("12,78"));
}

TEST(Price, AJubileeTripNeverCostsLessThanNothing)
{
    PriceInput in = cityTrip();
    in.jubilee = true;
    const PriceResult r = Price::recalculate(in); // 29,7 − 40
    EXPECT_EQ(r.jubilee, QStringLiteral("-40"));
    EXPECT_EQ(r.sumToPay, QStringLiteral("0"));
    in.jubileeLimit = QStringLiteral("20,5");
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("9,2"));
    in.jubileeLimit = QStringLiteral("29,7"); // exactly the price
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("0"));
    in.jubilee = false;
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("29,7"));
}

TEST(Price, CutsEachAmountAndNeverLosesACent)
{
    PriceInput in = cityTrip(QStringLiteral("3"));
    in.prices.kmInTown = QStringLiteral("3,33");
    in.prices.boarding = QStringLiteral("0");
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("9,99"));
    in.kmInTown = QStringLiteral("1");
    in.prices.kmInTown = QStringLiteral("0.6666");
    EXPECT_EQ(Price::recalculate(in).town, QStringLiteral("0,66"));
    in.prices.kmInTown = QStringLiteral("0,019"); // 0,019 km-price × 1 → 0,01, not 0,02
    EXPECT_EQ(Price::recalculate(in).town, QStringLiteral("0,01"));
    in.prices.boarding = QStringLiteral("29,70");
    in.jubilee = true;
    in.jubileeLimit = QStringLiteral("29,69");
    in.prices.kmInTown = QStringLiteral("0");
    EXPECT_EQ(Price::recalculate(in).sumToPay, QStringLiteral("0,01"));
}

TEST(Price, UnreadableFiguresAndPricesAreShownAsZeroAgain)
{
    PriceInput in = cityTrip(QStringLiteral("nan"));
    in.kmOutOfTown = QStringLiteral("inf");
    in.waitingMinutes = QStringLiteral("1e400");
    in.prices.kmInTown = QStringLiteral("4,2 грн");
    in.vatPercent = QStringLiteral("ПДВ"); // counts as 0, nothing to show again
    const PriceResult r = Price::recalculate(in);
    EXPECT_EQ(r.kmInTown, QStringLiteral("0"));
    EXPECT_EQ(r.kmOutOfTown, QStringLiteral("0"));
    EXPECT_EQ(r.waitingMinutes, QStringLiteral("0"));
    EXPECT_EQ(r.prices.kmInTown, QStringLiteral("0"));
    EXPECT_EQ(r.prices.boarding, QStringLiteral("15")); // readable ones stay as typed
    EXPECT_EQ(r.sumToPay, QStringLiteral("15"));

    PriceInput typed = cityTrip(QStringLiteral("3.5"));
    EXPECT_EQ(Price::recalculate(typed).kmInTown, QStringLiteral("3.5"));
    EXPECT_EQ(Price::recalculate(typed).sumToPay, QStringLiteral("29,7"));
}

TEST(Price, PromotionalDiscountOfTheTariff)
{
    const QStringList entries = {
        QStringLiteral("[Місто](10)"), QStringLiteral("Акція [Нічний] (15) до весни"),
        QStringLiteral("[Нічний (20%)](5)"), QStringLiteral("[Вокзал]"), QStringLiteral("[Місто]  (12,5)")};
    EXPECT_EQ(Price::promotionalDiscount(entries, QStringLiteral("Місто")),
              QStringLiteral("12,5")); // the last wins
    EXPECT_EQ(Price::promotionalDiscount(entries, QStringLiteral("Нічний")), QStringLiteral("15"));
    EXPECT_EQ(Price::promotionalDiscount(entries, QStringLiteral("Нічний (20%)")), QStringLiteral("5"));
    EXPECT_EQ(Price::promotionalDiscount(entries, QStringLiteral("Вокзал")),
              QStringLiteral("0")); // no percent
    EXPECT_EQ(Price::promotionalDiscount(entries, QStringLiteral("Міс")), QStringLiteral("0"));
    EXPECT_EQ(Price::promotionalDiscount(entries, QString()), QStringLiteral("0"));
    EXPECT_EQ(Price::promotionalDiscount({}, QStringLiteral("Місто")), QStringLiteral("0"));
}

TEST(Price, TariffGridDistance)
{
    const TariffGrid grid(IniFile::fromBytes(*cp1251::encode(QStringLiteral(
        "[TARIFSITKA]\r\nL{вул. Соборна}->{вул. Ринкова}=5300\r\nL{вул. Ринкова}->{вул. Соборна}=5100\r\n"
        "L{вул. Мостова}->{пров. Тихий}=1234,567\r\nL{вул. Садова}->{вул. Ковельська}=довго\r\n"))));
    const QString a = QStringLiteral("вул. Соборна");
    const QString b = QStringLiteral("вул. Ринкова");
    EXPECT_EQ(Price::tariffGridDistance(grid, true, a, true, b), QStringLiteral("5,3"));
    EXPECT_EQ(Price::tariffGridDistance(grid, true, b, true, a), QStringLiteral("5,3"));
    EXPECT_EQ(Price::tariffGridDistance(grid, true, QStringLiteral("  вул. Соборна "), true, b),
              QStringLiteral("5,3"));
    EXPECT_EQ(Price::tariffGridDistance(grid, true, QStringLiteral("пров. Тихий"), true,
                                        QStringLiteral("вул. Мостова")),
              QStringLiteral("1,23"));
    EXPECT_EQ(Price::tariffGridDistance(grid, true, QStringLiteral("вул. Садова"), true,
                                        QStringLiteral("вул. Ковельська")),
              QStringLiteral("0"));
    EXPECT_EQ(Price::tariffGridDistance(grid, false, a, true, b), Price::kNoDistance);
    EXPECT_EQ(Price::tariffGridDistance(grid, true, a, false, b), Price::kNoDistance);
    EXPECT_EQ(Price::tariffGridDistance(grid, true, QStringLiteral("  "), true, b), Price::kNoDistance);
    EXPECT_EQ(Price::tariffGridDistance(grid, true, a, true, QStringLiteral("вул. Садова")),
              Price::kNoDistance);
    EXPECT_EQ(Price::measuredKilometres(QStringLiteral("12.3456")), QStringLiteral("12,34"));
}

TEST(TripTiming, CompletionFollowsTheDistanceOrTheDefaultDuration)
{
    // 10 km at 40 km/h is 15 minutes, plus 5 of waiting.
    EXPECT_EQ(TripTiming::tripMinutes(QStringLiteral("6"), QStringLiteral("4"), QStringLiteral("5"),
                                      QStringLiteral("40"), QStringLiteral("30")),
              20);
    // No distance, or no speed: the firm's default duration.
    EXPECT_EQ(TripTiming::tripMinutes(QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("5"),
                                      QStringLiteral("40"), QStringLiteral("30")),
              30);
    EXPECT_EQ(TripTiming::tripMinutes(QStringLiteral("6"), QStringLiteral("0"), QStringLiteral("0"),
                                      QStringLiteral("nan"), QStringLiteral("25,5")),
              26); // 25,5 → even 26
    // Halves go to the even minute: 0,25 km at 30 km/h is 0,5 min → 0; 0,75 km is 1,5 → 2.
    EXPECT_EQ(TripTiming::tripMinutes(QStringLiteral("0,25"), QStringLiteral("0"), QStringLiteral("0"),
                                      QStringLiteral("30"), QStringLiteral("30")),
              0);
    EXPECT_EQ(TripTiming::tripMinutes(QStringLiteral("0,75"), QStringLiteral("0"), QStringLiteral("0"),
                                      QStringLiteral("30"), QStringLiteral("30")),
              2);
    // An unreadable waiting figure counts as none.
    EXPECT_EQ(TripTiming::tripMinutes(QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("хв"),
                                      QStringLiteral("60"), QStringLiteral("30")),
              10);

    const QDateTime lateEvening(QDate(2026, 3, 31), QTime(23, 50));
    EXPECT_EQ(TripTiming::plannedCompletion(lateEvening, 30), QDateTime(QDate(2026, 4, 1), QTime(0, 20)));
    const QDateTime newYearsEve(QDate(2025, 12, 31), QTime(23, 59));
    EXPECT_EQ(TripTiming::plannedCompletion(newYearsEve, 2), QDateTime(QDate(2026, 1, 1), QTime(0, 1)));
}

TEST(TripTiming, ArrivalEstimate)
{
    // 5000 m × 1,42 = 7,1 km at 42,6 km/h = 10 min, plus 5.
    EXPECT_EQ(TripTiming::arrivalMinutes(QStringLiteral("5000"), QStringLiteral("42,6")), 15);
    // 1000 m × 1,42 at 56,8 km/h = 1,5 min → 2 (even), plus 5.
    EXPECT_EQ(TripTiming::arrivalMinutes(QStringLiteral("1000"), QStringLiteral("56,8")), 7);
    // 500 m at 170,4 km/h = 0,25 min → 0: no estimate.
    EXPECT_FALSE(TripTiming::arrivalMinutes(QStringLiteral("500"), QStringLiteral("170,4")).has_value());
    EXPECT_FALSE(TripTiming::arrivalMinutes(QString(), QStringLiteral("40")).has_value());
    EXPECT_FALSE(TripTiming::arrivalMinutes(QStringLiteral("5000"), QStringLiteral("0")).has_value());
    EXPECT_EQ(TripTiming::arrivalMinutes(QStringLiteral("1234,5678"), QStringLiteral("40")), 8); // 2,63 → 3
}
