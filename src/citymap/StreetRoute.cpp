#include "citymap/StreetRoute.h"

QString StreetRoute::text() const
{
    QString result = QLatin1Char('{') + QString::number(rank) + QLatin1Char('}');
    for (int street : streets)
        result += QLatin1Char('[') + QString::number(street) + QLatin1Char(']');
    return result;
}

std::optional<StreetRoute> StreetRoute::parse(const QString& text)
{
    if (!text.startsWith(QLatin1Char('{')))
        return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char('}'));
    bool ok = false;
    StreetRoute route;
    route.rank = text.mid(1, close - 1).toInt(&ok);
    if (close < 0 || !ok)
        return std::nullopt;
    qsizetype at = close + 1;
    while (at < text.size()) {
        const qsizetype end = text.indexOf(QLatin1Char(']'), at);
        if (text.at(at) != QLatin1Char('[') || end < 0)
            return std::nullopt;
        const int street = text.mid(at + 1, end - at - 1).toInt(&ok);
        if (!ok)
            return std::nullopt;
        route.streets.push_back(street);
        at = end + 1;
    }
    if (route.streets.empty())
        return std::nullopt;
    return route;
}
