#include "citymap/StreetRoute.h"

QString StreetRoute::text() const
{
    QString result = QLatin1Char('{') + QString::number(rank) + QLatin1Char('}');
    for (int street : streets)
        result += QLatin1Char('[') + QString::number(street) + QLatin1Char(']');
    return result;
}
