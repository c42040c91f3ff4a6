#pragma once

#include "citymap/LegStreets.h"
#include "citymap/OneWayPassages.h"
#include "citymap/RoutePoint.h"
#include "citymap/StreetDirectory.h"
#include "citymap/StreetGraph.h"
#include "citymap/StreetPointIndex.h"

class MapPoints;

// The streets of the map as the route measurement uses them: their names, which cross
// which (with the one-way passages), and their placed points. Built once per map load,
// from the streets table and the map's point table; then kept current: a point that
// arrives is added, a changed one-way list replaces the old one.
class StreetNetwork
{
public:
    // Returns the one-way entries as read, for the warnings about skipped ones.
    OneWayPassages build(StreetDirectory streets, const MapPoints& points, const QStringList& oneWayEntries);
    void addPoint(int number, const MapPoint& point);
    OneWayPassages setOneWayEntries(const QStringList& entries);

    const StreetDirectory& streets() const { return m_streets; }
    const StreetGraph& graph() const { return m_graph; }
    const StreetPointIndex& streetPoints() const { return m_points; }

    // A route point's street (a building's, found by name) or streets (an object's,
    // from its map point).
    LegEnd legEnd(const RoutePoint& point, const MapPoints& points) const;

private:
    StreetDirectory m_streets;
    StreetGraph m_graph;
    StreetPointIndex m_points;
};
