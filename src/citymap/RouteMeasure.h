#pragma once

#include "citymap/RoutePoint.h"
#include "citymap/StreetRoute.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class MapPoints;
class StreetNetwork;

// The length of an order's route over the streets of the city map.
//
// For each leg between two consecutive route points the street search gives its
// candidates (at most the first 30); each is measured from the first point to where it
// meets its street (its anchor, the nearest placed point of that street), along the
// crossings of the candidate's streets, to the second point's anchor and the point
// itself, and the shortest wins. The total is converted to kilometres with the map's
// scale and multiplied by the distance coefficient of its range.
struct RouteMeasurement
{
    struct Leg
    {
        bool measured = false;
        StreetRoute best;    // its streets, from the first point's street
        double length = 0.0; // map units
    };

    QStringList lines; // the description of the legs for the order form's step 2
    std::vector<Leg> legs;
    double mapUnits = 0.0; // the measured legs, times the coefficient when one applies
    double factor = 0.0;   // the coefficient applied, 0 for none
    // Nothing without a usable map scale (LENGTH or LENGTH_TOCHKA 0 or unreadable).
    std::optional<double> kilometres;
    QString kilometresText; // the shortest decimal form, with a decimal comma; empty for none

    // Every leg measured: otherwise the kilometres are those of the measured legs only
    // and the dispatcher sets them by hand.
    bool complete() const;
};

inline constexpr std::size_t kMeasuredCandidatesPerLeg = 30;

// Nothing is measured for a route of fewer than two points. metresPerPixel is the map's
// LENGTH ÷ LENGTH_TOCHKA; coefficientEntries the KOEFICIENT list.
RouteMeasurement MeasureRoute(const QList<RoutePoint>& route, const StreetNetwork& network,
                              const MapPoints& points, std::optional<double> metresPerPixel,
                              const QStringList& coefficientEntries);

// A number as the workstation shows it: the shortest decimal form, decimal comma.
QString shortestDecimal(double value);
