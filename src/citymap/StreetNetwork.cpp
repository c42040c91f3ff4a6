#include "citymap/StreetNetwork.h"

#include "citymap/MapPoints.h"

OneWayPassages StreetNetwork::build(StreetDirectory streets, const MapPoints& points,
                                    const QStringList& oneWayEntries)
{
    m_streets = std::move(streets);
    OneWayPassages passages = OneWayPassages::parse(oneWayEntries);
    m_graph.build(m_streets.maxNumber(), points, passages.passages());
    m_points.build(points);
    return passages;
}

void StreetNetwork::addPoint(int number, const MapPoint& point)
{
    m_graph.addPoint(point);
    m_points.addPoint(number, point);
}

OneWayPassages StreetNetwork::setOneWayEntries(const QStringList& entries)
{
    OneWayPassages passages = OneWayPassages::parse(entries);
    m_graph.setOneWayPassages(passages.passages());
    return passages;
}

LegEnd StreetNetwork::legEnd(const RoutePoint& point, const MapPoints& points) const
{
    LegEnd end;
    end.building = point.building;
    if (point.building)
        end.street = m_streets.numberOf(point.street);
    else
        end.streets = points.at(point.mapPoint).streets;
    return end;
}
