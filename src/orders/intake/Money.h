#pragma once

#include <QString>
#include <QVariant>
#include <compare>
#include <optional>

// An exact decimal number: the amounts, prices, kilometres and percents of an order.
// Binary floating point would lose cents (29,70 − 29,69 is not 0,01 in a double), so the
// value is a whole number of units of 10^-scale. Sums, differences, products and
// percents are exact; only a result beyond about 36 digits gives up its smallest
// decimals, and those are cut, never rounded.
class Money
{
public:
    Money() = default;
    static Money fromInteger(qint64 value);

    // Digits with a decimal comma or point, an optional sign, an optional exponent
    // ("1,5e2"), blanks around. Anything else ("nan", "inf", "1.234,5", empty text, a
    // number of more than 36 integer digits) is none.
    static std::optional<Money> parse(const QString& text);
    // The rule for every typed or stored figure: what does not read counts as 0.
    static Money typed(const QString& text) { return parse(text).value_or(Money()); }
    // A value read from the database: integers as they are, scaled numbers (which the
    // client library hands over as doubles) by their 15 significant digits, which hold
    // a NUMERIC(15,2) exactly; NULL and unreadable values count as 0.
    static Money fromStored(const QVariant& value);

    // Cut (toward zero, never rounded) to the shown form and then after two decimals:
    // 123,4567 → 123,45; -1,239 → -1,23.
    Money cutToCents() const;

    // Shortest form, at most 15 significant digits (further digits cut), never an
    // exponent: 7, 0,5, 1234,5.
    QString shown() const { return text(QLatin1Char(',')); }
    // The same with a decimal point, as SQL takes a number.
    QString sqlText() const { return text(QLatin1Char('.')); }
    QString text(QChar separator) const;

    bool isZero() const { return m_units == 0; }
    bool isNegative() const { return m_units < 0; }

    Money operator+(const Money& other) const;
    Money operator-(const Money& other) const;
    Money operator*(const Money& other) const;
    Money operator-() const;
    // this × percent ÷ 100, exact.
    Money percent(const Money& percent) const;

    std::strong_ordering operator<=>(const Money& other) const;
    bool operator==(const Money& other) const { return (*this <=> other) == 0; }

    // numerator ÷ denominator rounded to a whole number, halves to the even neighbour;
    // none when the denominator is 0 or the quotient does not fit.
    static std::optional<qint64> roundedQuotient(const Money& numerator, const Money& denominator);

private:
    using Units = __int128;
    Money(Units units, int scale);
    Money normalised() const;
    Money truncatedToScale(int scale) const;
    Money limitedToShownDigits() const;

    Units m_units = 0; // value = m_units × 10^-m_scale
    int m_scale = 0;
};
