#include "orders/intake/Money.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace {

using Units = __int128;

// Units stay below 10^37, so a sum of two never overflows and a product is checked
// by the operands' digit counts before it is formed.
constexpr int kMaxDigits = 37;
constexpr int kMaxScale = 36;
constexpr int kMaxIntegerDigitsParsed = 18;
constexpr int kShownDigits = 15;

constexpr std::array<Units, 39> makePowers()
{
    std::array<Units, 39> p{};
    p[0] = 1;
    for (size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}
constexpr std::array<Units, 39> kPow10 = makePowers();

Units magnitude(Units u)
{
    return u < 0 ? -u : u;
}

int digitCount(Units u)
{
    u = magnitude(u);
    int n = 1;
    while (n < static_cast<int>(kPow10.size()) && u >= kPow10[n])
        ++n;
    return n;
}

QString digitsOf(Units u) // u ≥ 0
{
    if (u == 0)
        return QStringLiteral("0");
    QString out;
    while (u > 0) {
        out.prepend(QChar(u'0' + static_cast<int>(u % 10)));
        u /= 10;
    }
    return out;
}

} // namespace

Money::Money(Units units, int scale) : m_units(units), m_scale(scale) {}

Money Money::fromInteger(qint64 value)
{
    return Money(value, 0);
}

Money Money::normalised() const
{
    Units u = m_units;
    int scale = m_scale;
    while (scale > kMaxScale || (scale > 0 && digitCount(u) >= kMaxDigits)) {
        u /= 10;
        --scale;
    }
    if (digitCount(u) >= kMaxDigits)
        return Money(); // beyond 10^36: counts as 0, as an unreadable figure does
    while (scale > 0 && u % 10 == 0) {
        u /= 10;
        --scale;
    }
    return Money(u, scale);
}

Money Money::truncatedToScale(int scale) const
{
    if (m_scale <= scale)
        return *this;
    return Money(m_units / kPow10[m_scale - scale], scale).normalised();
}

Money Money::limitedToShownDigits() const
{
    const int extra = digitCount(m_units) - kShownDigits;
    if (extra <= 0)
        return *this;
    if (extra <= m_scale)
        return Money(m_units / kPow10[extra], m_scale - extra).normalised();
    return Money(m_units / kPow10[extra] * kPow10[extra - m_scale], 0).normalised();
}

std::optional<Money> Money::parse(const QString& input)
{
    const QString text = input.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';

    QString digits; // integer and fraction digits: value = digits × 10^-(fraction digits)
    int fractionDigits = 0;
    bool anyDigit = false;
    bool separatorSeen = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (separatorSeen)
                ++fractionDigits;
            digits += c;
        } else if ((c == u',' || c == u'.') && !separatorSeen) {
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    long long exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            expNegative = text[i++] == u'-';
        const qsizetype start = i;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i].unicode() - u'0');
        if (i == start)
            return std::nullopt;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != text.size())
        return std::nullopt;

    qsizetype firstSignificant = 0;
    while (firstSignificant < digits.size() && digits[firstSignificant] == u'0')
        ++firstSignificant;
    digits = digits.mid(firstSignificant);
    if (digits.isEmpty())
        return Money();

    long long scale = fractionDigits - exponent;
    const long long integerDigits = digits.size() - scale;
    if (integerDigits > kMaxIntegerDigitsParsed)
        return std::nullopt;
    if (integerDigits < -kMaxScale)
        return Money(); // below 10^-36: cut to nothing
    if (scale < 0) {
        digits += QString(static_cast<qsizetype>(-scale), u'0');
        scale = 0;
    }
    // Cut what goes beyond the decimals and digits a value can hold.
    while (scale > 0 && (scale > kMaxScale || digits.size() >= kMaxDigits)) {
        digits.chop(1);
        --scale;
    }
    Units units = 0;
    for (const QChar c : std::as_const(digits))
        units = units * 10 + (c.unicode() - u'0');
    return Money(negative ? -units : units, static_cast<int>(scale)).normalised();
}

Money Money::fromStored(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return Money();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return fromInteger(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return typed(QString::number(value.toDouble(), 'g', kShownDigits));
    default:
        return typed(value.toString());
    }
}

Money Money::cutToCents() const
{
    return limitedToShownDigits().truncatedToScale(2);
}

QString Money::text(QChar separator) const
{
    const Money v = limitedToShownDigits();
    const Units abs = magnitude(v.m_units);
    const QString integer = digitsOf(abs / kPow10[v.m_scale]);
    QString out = v.m_units < 0 ? QStringLiteral("-") + integer : integer;
    if (v.m_scale > 0) {
        const QString fraction = digitsOf(abs % kPow10[v.m_scale]);
        out += separator;
        out += QString(v.m_scale - fraction.size(), u'0') + fraction;
    }
    return out;
}

namespace {

// Brings two values to one scale. The finer one gives up decimals (cut) when the
// coarser one cannot be scaled up far enough.
struct Aligned
{
    Units a;
    Units b;
    int scale;
};

Units cutTo(Units u, int from, int to)
{
    return from <= to ? u : u / kPow10[from - to];
}

Aligned align(Units a, int sa, Units b, int sb)
{
    int scale = std::max(sa, sb);
    while (scale > std::min(sa, sb)) {
        const Units ca = cutTo(a, sa, scale);
        const Units cb = cutTo(b, sb, scale);
        const int da = scale - std::min(sa, scale);
        const int db = scale - std::min(sb, scale);
        if (digitCount(ca) + da < kMaxDigits && digitCount(cb) + db < kMaxDigits)
            return {ca * kPow10[da], cb * kPow10[db], scale};
        --scale;
    }
    return {cutTo(a, sa, scale), cutTo(b, sb, scale), scale};
}

} // namespace

Money Money::operator+(const Money& other) const
{
    const Aligned x = align(m_units, m_scale, other.m_units, other.m_scale);
    return Money(x.a + x.b, x.scale).normalised();
}

Money Money::operator-(const Money& other) const
{
    return *this + (-other);
}

Money Money::operator-() const
{
    return Money(-m_units, m_scale);
}

Money Money::operator*(const Money& other) const
{
    Money a = *this;
    Money b = other;
    // Give up the smallest decimals of the finer operand until the product fits.
    while (digitCount(a.m_units) + digitCount(b.m_units) > kMaxDigits) {
        Money& finer = a.m_scale >= b.m_scale ? a : b;
        if (finer.m_scale == 0)
            return Money(); // beyond 10^36
        finer = Money(finer.m_units / 10, finer.m_scale - 1);
    }
    return Money(a.m_units * b.m_units, a.m_scale + b.m_scale).normalised();
}

Money Money::percent(const Money& percent) const
{
    const Money product = *this * percent;
    return Money(product.m_units, product.m_scale + 2).normalised();
}

std::strong_ordering Money::operator<=>(const Money& other) const
{
    const Money difference = *this - other;
    return difference.m_units <=> Units(0);
}

std::optional<qint64> Money::roundedQuotient(const Money& numerator, const Money& denominator)
{
    if (denominator.isZero())
        return std::nullopt;
    const Aligned x = align(numerator.m_units, numerator.m_scale, denominator.m_units, denominator.m_scale);
    if (x.b == 0)
        return std::nullopt;
    Units q = x.a / x.b;
    const Units r = x.a % x.b;
    const Units twiceRest = magnitude(r) * 2;
    const Units d = magnitude(x.b);
    const bool negative = (x.a < 0) != (x.b < 0);
    if (twiceRest > d || (twiceRest == d && q % 2 != 0))
        q += negative ? -1 : 1;
    if (q > std::numeric_limits<qint64>::max() || q < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return static_cast<qint64>(q);
}
