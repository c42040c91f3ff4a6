#pragma once

#include "orders/intake/Money.h"

#include <QString>
#include <QStringList>

class TariffGrid;

// The prices of one tariff as the tariff data window shows them (texts).
struct TariffPrices
{
    QString boarding;      // TARIF_PRIINYATTA_ZAMOVL
    QString kmInTown;      // TARIF_KM_MISTO
    QString kmOutOfTown;   // TARIF_KM_ZA_MISTO
    QString preliminary;   // TARIF_CINA_POPERED_ZAMOVL
    QString waitingMinute; // TARIF_HV_PROSTOU

    bool operator==(const TariffPrices&) const = default;
};

// Everything the sum to pay depends on, as the order form shows it.
struct PriceInput
{
    bool tariffChosen = false; // a tariff name with exactly one row in TARIFI
    TariffPrices prices;
    QString kmInTown = QStringLiteral("0");
    QString kmOutOfTown = QStringLiteral("0");
    QString waitingMinutes = QStringLiteral("0");
    bool preliminary = false;
    bool jubilee = false;
    QString jubileeLimit;        // FIRMA_LIMIT_BEZKOCHT_POIZDKI_KM, an amount of money
    QString vatPercent;          // FIRMA_PDV
    QString personalDiscount;    // KLIENT_ZNIZHKA, percent
    QString promotionalDiscount; // of the tariff, percent (ZNIZHKA_TARIF)
};

// The amounts shown on the last step, each cut to cents, and the sum to pay.
struct PriceResult
{
    // The trip figures and prices to show again: an unreadable one becomes "0".
    QString kmInTown, kmOutOfTown, waitingMinutes;
    TariffPrices prices;

    QString town, outOfTown, waiting, acceptance, preliminary, jubilee;
    QString subtotal; // town + out of town + waiting + acceptance + preliminary
    QString vat;
    QString sumToPay; // "не всі дані" without a tariff
    Money sum;        // the sum to pay as a number (0 without a tariff)

    bool complete() const;
};

// The tariff and price rules: texts in, texts out, no widgets and no database.
class Price
{
public:
    static const QString kNotAllData; // "не всі дані"
    static const QString kNoDistance; // "000": the tariff grid knows no distance

    // The sum to pay of a trip. Without a tariff every amount is "0" and the sum reads
    // "не всі дані". Amounts are cut to cents (never rounded) and summed exactly; the
    // larger of the two discounts applies, once (the promotional one on a tie); a
    // jubilee trip takes its limit off; a total below 0 becomes 0.
    static PriceResult recalculate(const PriceInput& input);

    // The promotional discount of a tariff in the ZNIZHKA_TARIF entries: each entry that
    // holds "[" tariff "]" gives the text between the first "(" and the ")" after it
    // (outside the bracketed name), the last such entry winning; "0" when none does or
    // the text is empty.
    static QString promotionalDiscount(const QStringList& entries, const QString& tariffName);

    // The tariff-grid distance in kilometres between two streets of the own city, cut
    // after two decimals ("5,3"); "000" unless both ends are own-city streets given
    // (trimmed, not empty) and the grid holds the pair in either order.
    static QString tariffGridDistance(const TariffGrid& grid, bool startInMyCity, const QString& startStreet,
                                      bool destinationInMyCity, const QString& destinationStreet);

    // A measured distance as kilometres in town: cut after two decimals.
    static QString measuredKilometres(const QString& measured);
};
