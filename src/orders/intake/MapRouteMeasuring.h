#pragma once

#include "citymap/RoutePoint.h"
#include "orders/intake/RouteItem.h"

#include <QList>
#include <QString>
#include <QStringList>

class CityMapData;
class SettingsStore;

// What the second step of the order form shows after measuring a route on the map.
struct MeasuredRoute
{
    QStringList lines;                      // the legs and their streets, top to bottom
    QString distance = QStringLiteral("0"); // kilometres, shortest decimal form with a comma
    qint64 elapsedMs = 0;                   // how long the measurement took
    int unmeasuredLegs = 0;
    // Said under the distance when it cannot be taken as it is: legs that were not
    // measured, or a map without a usable scale. Empty for a complete measurement.
    QString note;
};

// Measures an order's route on the city map for the second step of the order form:
// the route items become route points of the map, the map's street network gives each
// leg its candidates, and the total is converted with the map's scale and the distance
// coefficients of the settings. Nothing is read from the database: streets, crossings
// and points are the map's, in memory.
class MapRouteMeasuring
{
public:
    MapRouteMeasuring(const CityMapData& map, const SettingsStore& settings);

    // A route of fewer than two items measures nothing (distance "0", no lines).
    MeasuredRoute measure(const QList<RouteItem>& route) const;

    static RoutePoint routePoint(const RouteItem& item);

private:
    const CityMapData& m_map;
    const SettingsStore& m_settings;
};
