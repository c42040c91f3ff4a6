#include "foundation/TextHelpers.h"

QString ZeroPad5(qint64 n)
{
    const QString digits = QString::number(n);
    return digits.size() >= 5 ? digits : QString(5 - digits.size(), QLatin1Char('0')) + digits;
}

QString ExtractBetween(const QString& s, const QString& left, const QString& right)
{
    const qsizetype l = s.indexOf(left);
    const qsizetype r = s.indexOf(right);
    if (l < 0 || r < 0)
        return {};
    const qsizetype start = l + left.size();
    if (r < start)
        return {};
    return s.mid(start, r - start);
}
