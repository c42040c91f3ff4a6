#include "orders/intake/Price.h"

#include "orders/intake/TariffGrid.h"

const QString Price::kNotAllData = QStringLiteral("не всі дані");
const QString Price::kNoDistance = QStringLiteral("000");

bool PriceResult::complete() const
{
    return sumToPay != Price::kNotAllData;
}

namespace {

const QString kZero = QStringLiteral("0");

// A figure the dispatcher sees and may retype: what does not read counts as 0 and is
// shown as "0" again.
Money figure(const QString& text, QString& shownAgain)
{
    const std::optional<Money> value = Money::parse(text);
    shownAgain = value ? text : kZero;
    return value.value_or(Money());
}

} // namespace

PriceResult Price::recalculate(const PriceInput& in)
{
    PriceResult out;
    const Money k1 = figure(in.kmInTown, out.kmInTown);
    const Money k2 = figure(in.kmOutOfTown, out.kmOutOfTown);
    const Money w = figure(in.waitingMinutes, out.waitingMinutes);
    if (!in.tariffChosen) {
        out.prices = in.prices;
        for (QString* amount : {&out.town, &out.outOfTown, &out.waiting, &out.acceptance, &out.preliminary,
                                &out.jubilee, &out.subtotal, &out.vat})
            *amount = kZero;
        out.sumToPay = kNotAllData;
        return out;
    }
    const Money boarding = figure(in.prices.boarding, out.prices.boarding);
    const Money kmInTown = figure(in.prices.kmInTown, out.prices.kmInTown);
    const Money kmOutOfTown = figure(in.prices.kmOutOfTown, out.prices.kmOutOfTown);
    const Money preliminaryPrice = figure(in.prices.preliminary, out.prices.preliminary);
    const Money waitingMinute = figure(in.prices.waitingMinute, out.prices.waitingMinute);

    const Money town = (k1 * kmInTown).cutToCents();
    const Money outOfTown = (k2 * kmOutOfTown).cutToCents();
    const Money waiting = (w * waitingMinute).cutToCents();
    const Money acceptance = boarding.cutToCents();
    const Money preliminary = in.preliminary ? preliminaryPrice.cutToCents() : Money();
    const Money jubilee = in.jubilee ? (-Money::typed(in.jubileeLimit)).cutToCents() : Money();

    Money s = town + outOfTown + waiting + acceptance + preliminary;
    const Money subtotal = s;
    const Money vat = s.percent(Money::typed(in.vatPercent)).cutToCents();
    s = s + vat;

    const Money personal = Money::typed(in.personalDiscount);
    const Money promotional = Money::typed(in.promotionalDiscount);
    if (!personal.isZero() || !promotional.isZero()) {
        // The discounts never add up: the larger one applies.
        const Money discount = personal > promotional ? personal : promotional;
        s = s - s.percent(discount);
    }
    s = s + jubilee;
    if (s.isNegative())
        s = Money();
    const Money sum = s.cutToCents();

    out.town = town.shown();
    out.outOfTown = outOfTown.shown();
    out.waiting = waiting.shown();
    out.acceptance = acceptance.shown();
    out.preliminary = preliminary.shown();
    out.jubilee = jubilee.shown();
    out.subtotal = subtotal.shown();
    out.vat = vat.shown();
    out.sumToPay = sum.shown();
    out.sum = sum;
    return out;
}

QString Price::promotionalDiscount(const QStringList& entries, const QString& tariffName)
{
    if (tariffName.isEmpty())
        return kZero;
    const QString bracketed = QLatin1Char('[') + tariffName + QLatin1Char(']');
    QString percent = kZero;
    for (const QString& entry : entries) {
        const qsizetype at = entry.indexOf(bracketed);
        if (at < 0)
            continue;
        // A tariff named "Нічний (20%)" must not give its own parentheses as the percent.
        const QString rest = entry.left(at) + entry.mid(at + bracketed.size());
        const qsizetype open = rest.indexOf(QLatin1Char('('));
        const qsizetype close = open < 0 ? -1 : rest.indexOf(QLatin1Char(')'), open + 1);
        percent = close < 0 ? QString() : rest.mid(open + 1, close - open - 1);
        if (percent.isEmpty())
            percent = kZero;
    }
    return percent;
}

QString Price::tariffGridDistance(const TariffGrid& grid, bool startInMyCity, const QString& startStreet,
                                  bool destinationInMyCity, const QString& destinationStreet)
{
    const QString a = startStreet.trimmed();
    const QString b = destinationStreet.trimmed();
    if (!startInMyCity || !destinationInMyCity || a.isEmpty() || b.isEmpty())
        return kNoDistance;
    const TariffGrid::StoredPair stored = grid.storedValues(a, b);
    if (stored.forward.isEmpty() && stored.backward.isEmpty())
        return kNoDistance;
    const Money forward = Money::typed(stored.forward);
    const Money backward = Money::typed(stored.backward);
    const Money metres = forward > backward ? forward : backward;
    static const Money kKilometresPerMetre = Money::typed(QStringLiteral("0.001"));
    return (metres * kKilometresPerMetre).cutToCents().shown();
}

QString Price::measuredKilometres(const QString& measured)
{
    return Money::typed(measured).cutToCents().shown();
}
