#include "orders/intake/RouteItem.h"

const QString RouteItem::kForbiddenMarksMessage =
    QStringLiteral("Символи \"<\" і \">\" не можна вживати в адресі і назві пункта !!!");
const QString RouteItem::kOffMapMarker = QStringLiteral("</E>");

bool RouteItem::hasMarks(const QString& part)
{
    return part.contains(QLatin1Char('<')) || part.contains(QLatin1Char('>'));
}

QString RouteItem::placeOf(const QString& address)
{
    const qsizetype join = address.indexOf(QLatin1String("]{"));
    if (join < 0)
        return address;
    const qsizetype brace = address.indexOf(QLatin1Char('}'), join + 2);
    return brace < 0 ? address : address.left(brace + 1);
}

RouteItem RouteItem::fromBody(const QString& body, qint64 mapPoint)
{
    RouteItem item;
    item.m_body = body;
    item.m_mapPoint = mapPoint > 0 ? mapPoint : 0;
    const qsizetype join = body.indexOf(QLatin1String("]{"));
    const qsizetype brace = join < 0 ? -1 : body.indexOf(QLatin1Char('}'), join + 2);
    if (body.startsWith(QLatin1Char('[')) && brace >= 0) {
        item.m_building = true;
        item.m_street = body.mid(1, join - 1);
        item.m_house = body.mid(join + 2, brace - join - 2);
        item.m_flat = body.mid(brace + 1);
    }
    return item;
}

std::optional<RouteItem> RouteItem::building(const QString& street, const QString& house, const QString& flat,
                                             qint64 mapPoint)
{
    if (hasMarks(street) || hasMarks(house) || hasMarks(flat))
        return std::nullopt;
    return fromBody(QLatin1Char('[') + street + QStringLiteral("]{") + house + QLatin1Char('}') + flat,
                    mapPoint);
}

std::optional<RouteItem> RouteItem::named(const QString& name, qint64 mapPoint)
{
    if (name.trimmed().isEmpty() || hasMarks(name))
        return std::nullopt;
    return fromBody(name, mapPoint);
}

std::optional<RouteItem> RouteItem::fromStored(const QString& stored, qint64 mapPoint)
{
    const qsizetype marker = stored.indexOf(QLatin1Char('<'));
    QString body = marker < 0 ? stored : stored.left(marker);
    body.remove(QLatin1Char('>'));
    if (body.trimmed().isEmpty())
        return std::nullopt;
    return fromBody(body, mapPoint);
}

std::optional<RouteItem> RouteItem::parse(const QString& itemText)
{
    const qsizetype open = itemText.indexOf(QLatin1Char('<'));
    if (open <= 0)
        return std::nullopt;
    const QString body = itemText.left(open);
    const QString marker = itemText.mid(open);
    if (body.contains(QLatin1Char('>')) || body.trimmed().isEmpty())
        return std::nullopt;
    if (marker == kOffMapMarker)
        return fromBody(body, 0);
    if (marker.size() < 3 || !marker.endsWith(QLatin1Char('>')))
        return std::nullopt;
    const QString digits = marker.mid(1, marker.size() - 2);
    if (digits.startsWith(QLatin1Char('0')))
        return std::nullopt; // the builder never writes "<07>"
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 point = digits.toLongLong(&ok);
    if (!ok || point <= 0)
        return std::nullopt;
    return fromBody(body, point);
}

QString RouteItem::place() const
{
    return m_building ? QLatin1Char('[') + m_street + QStringLiteral("]{") + m_house + QLatin1Char('}')
                      : m_body;
}

QString RouteItem::text() const
{
    return m_body +
           (onMap() ? QLatin1Char('<') + QString::number(m_mapPoint) + QLatin1Char('>') : kOffMapMarker);
}
