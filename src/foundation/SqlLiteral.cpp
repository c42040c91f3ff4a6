#include "foundation/SqlLiteral.h"

#include "foundation/TextHelpers.h"

#include <cmath>

namespace sql {

QString text(const QString& value)
{
    QString doubled = value;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString date(const QDate& value)
{
    return QLatin1Char('\'') + value.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('\'');
}

QString timeHm(const QTime& value)
{
    return QLatin1Char('\'') + value.toString(QStringLiteral("hh:mm")) + QLatin1Char('\'');
}

QString timeHms(const QTime& value)
{
    return QLatin1Char('\'') + value.toString(QStringLiteral("hh:mm:ss")) + QLatin1Char('\'');
}

QString timestamp(const QDateTime& value)
{
    return QLatin1Char('\'') + value.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) + QLatin1Char('\'');
}

QString integer(qint64 value)
{
    return QString::number(value);
}

namespace {
// Cut to whole hundredths; the tiny nudge keeps 0.29 (0.28999...) from becoming 0.28.
qint64 hundredthsCut(double value)
{
    const double scaled = value * 100.0;
    return static_cast<qint64>(scaled + (scaled >= 0 ? 1e-6 : -1e-6));
}

QString amountText(double value, QChar separator)
{
    if (!std::isfinite(value))
        value = 0;
    const qint64 cents = hundredthsCut(value);
    const qint64 whole = cents / 100;
    const qint64 fraction = std::llabs(cents % 100);
    QString sign = (cents < 0 && whole == 0) ? QStringLiteral("-") : QString();
    QString out = sign + QString::number(whole);
    if (fraction != 0) {
        out += separator;
        out += fraction % 10 == 0 ? QString::number(fraction / 10)
                                  : QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
    }
    return out;
}
} // namespace

QString amount(double value)
{
    return amountText(value, QLatin1Char('.'));
}

QString decimal(const QString& plainDecimal)
{
    qsizetype i = plainDecimal.startsWith(QLatin1Char('-')) ? 1 : 0;
    int digitsBefore = 0;
    int digitsAfter = 0;
    bool point = false;
    for (; i < plainDecimal.size(); ++i) {
        const QChar c = plainDecimal[i];
        if (c == QLatin1Char('.') && !point)
            point = true;
        else if (c.isDigit() && c.unicode() < 128)
            ++(point ? digitsAfter : digitsBefore);
        else
            return QStringLiteral("0");
    }
    if (digitsBefore == 0 || (point && digitsAfter == 0))
        return QStringLiteral("0");
    return plainDecimal;
}

QString nextNumber(const QString& column, const QString& table, int first)
{
    const QString max = QStringLiteral("(SELECT MAX(%1) FROM %2)").arg(column, table);
    return QStringLiteral("IIF(%1 IS NULL, %2, %1+1)").arg(max, QString::number(first));
}

QString clientCodeCondition(const QString& column, qint64 code)
{
    return QStringLiteral("(%1 LIKE '%' || '[%2]' || '%')").arg(column, ZeroPad5(code));
}

QString containsCondition(const QString& column, const QString& value)
{
    return QStringLiteral("(%1 LIKE '%' || %2 || '%')").arg(column, text(value));
}

} // namespace sql

qint64 typedInteger(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

double typedAmount(const QString& text)
{
    QString normalized = text.trimmed();
    normalized.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = normalized.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString shownAmount(double value)
{
    return sql::amountText(value, QLatin1Char(','));
}
