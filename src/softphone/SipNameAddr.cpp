#include "softphone/SipNameAddr.h"

namespace {

// Where the URI part ends and header parameters begin.
qsizetype parametersStart(QByteArrayView value)
{
    const qsizetype close = value.indexOf('>');
    if (value.indexOf('<') >= 0 && close >= 0)
        return close + 1;
    const qsizetype semicolon = value.indexOf(';');
    return semicolon < 0 ? value.size() : semicolon;
}

bool isParameterEnd(char c)
{
    return c == ';' || c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

namespace SipNameAddr {

QByteArray Uri(QByteArrayView value)
{
    const qsizetype open = value.indexOf('<');
    if (open >= 0) {
        const qsizetype close = value.indexOf('>', open + 1);
        return value.sliced(open + 1, (close < 0 ? value.size() : close) - open - 1).toByteArray().trimmed();
    }
    const qsizetype semicolon = value.indexOf(';');
    return value.first(semicolon < 0 ? value.size() : semicolon).toByteArray().trimmed();
}

QByteArray Parameter(QByteArrayView value, QByteArrayView name)
{
    qsizetype at = parametersStart(value);
    while (at < value.size()) {
        const qsizetype semicolon = value.indexOf(';', at);
        if (semicolon < 0)
            return {};
        qsizetype nameStart = semicolon + 1;
        while (nameStart < value.size() && (value[nameStart] == ' ' || value[nameStart] == '\t'))
            ++nameStart;
        const QByteArrayView rest = value.sliced(nameStart);
        if (rest.size() > name.size() && rest.first(name.size()).compare(name, Qt::CaseInsensitive) == 0 &&
            rest[name.size()] == '=') {
            qsizetype end = name.size() + 1;
            while (end < rest.size() && !isParameterEnd(rest[end]))
                ++end;
            return rest.sliced(name.size() + 1, end - name.size() - 1).toByteArray();
        }
        at = nameStart;
    }
    return {};
}

QList<QByteArray> Entries(const QList<QByteArray>& values)
{
    QList<QByteArray> entries;
    for (const QByteArray& value : values) {
        bool inAngle = false;
        bool inQuotes = false;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= value.size(); ++i) {
            const char c = i < value.size() ? value[i] : ',';
            if (inQuotes) {
                if (c == '\\')
                    ++i;
                else if (c == '"')
                    inQuotes = false;
            } else if (c == '"') {
                inQuotes = true;
            } else if (c == '<') {
                inAngle = true;
            } else if (c == '>') {
                inAngle = false;
            } else if (c == ',' && !inAngle) {
                const QByteArray entry = value.mid(start, i - start).trimmed();
                if (!entry.isEmpty())
                    entries.append(entry);
                start = i + 1;
            }
        }
    }
    return entries;
}

} // namespace SipNameAddr
