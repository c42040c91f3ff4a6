#include "citymap/OneWayPassages.h"

#include <optional>

namespace {

std::optional<int> wholeNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return std::nullopt;
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The number between the first "[" at or after from and the "]" that follows it; from
// moves past that "]".
std::optional<int> nextBracketed(const QString& entry, qsizetype* from)
{
    const qsizetype open = entry.indexOf(QLatin1Char('['), *from);
    if (open < 0)
        return std::nullopt;
    const qsizetype close = entry.indexOf(QLatin1Char(']'), open + 1);
    if (close < 0)
        return std::nullopt;
    *from = close + 1;
    return wholeNumber(entry.mid(open + 1, close - open - 1));
}

} // namespace

OneWayPassages OneWayPassages::parse(const QStringList& entries)
{
    OneWayPassages result;
    for (int i = 0; i < entries.size(); ++i) {
        const QString& entry = entries.at(i);
        qsizetype from = 0;
        const std::optional<int> a = nextBracketed(entry, &from);
        const std::optional<int> b = a ? nextBracketed(entry, &from) : std::nullopt;
        if (!a || !b) {
            result.m_skipped.push_back({i, entry});
            continue;
        }
        if (*a != 0 && *b != 0)
            result.m_passages.push_back({*a, *b});
    }
    return result;
}

QStringList OneWayPassages::warnings() const
{
    QStringList lines;
    for (const Skipped& s : m_skipped)
        lines << QStringLiteral("Запис %1 списку односторонніх вулиць не містить двох номерів вулиць "
                                "у квадратних дужках і пропущений: %2")
                     .arg(s.entry + 1)
                     .arg(s.text);
    return lines;
}
