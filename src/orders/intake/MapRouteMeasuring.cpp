#include "orders/intake/MapRouteMeasuring.h"

#include "citymap/CityMapData.h"
#include "citymap/RouteMeasure.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"

#include <QElapsedTimer>
#include <limits>

MapRouteMeasuring::MapRouteMeasuring(const CityMapData& map, const SettingsStore& settings)
    : m_map(map), m_settings(settings)
{
}

RoutePoint MapRouteMeasuring::routePoint(const RouteItem& item)
{
    RoutePoint point;
    point.text = item.text();
    point.building = item.isBuilding();
    point.street = item.isBuilding() ? item.street() : QString();
    // A map point number beyond the range of the map's point numbers names no point.
    point.mapPoint =
        item.onMap() && item.mapPoint() <= std::numeric_limits<int>::max() ? int(item.mapPoint()) : 0;
    return point;
}

MeasuredRoute MapRouteMeasuring::measure(const QList<RouteItem>& route) const
{
    MeasuredRoute result;
    if (route.size() < 2)
        return result;
    QElapsedTimer timer;
    timer.start();
    QList<RoutePoint> points;
    for (const RouteItem& item : route)
        points << routePoint(item);
    const QString coefficients = m_settings.value(SettingKeys::kDistanceCoefficients);
    const RouteMeasurement m =
        MeasureRoute(points, m_map.streetNetwork(), m_map.points(), m_map.metresPerPixel(),
                     coefficients.isEmpty() ? QStringList{} : coefficients.split(QLatin1Char('\n')));
    result.elapsedMs = timer.elapsed();
    result.lines = m.lines;
    for (const RouteMeasurement::Leg& leg : m.legs)
        result.unmeasuredLegs += leg.measured ? 0 : 1;
    if (!m.kilometres) {
        result.note =
            QStringLiteral("Масштаб карти не задано: кілометри вкажіть вручну на наступному кроці.");
        return result;
    }
    result.distance = m.kilometresText;
    if (result.unmeasuredLegs > 0)
        result.note = QStringLiteral("Не виміряно відрізків: %1 з %2. Відстань неповна: кілометри "
                                     "уточніть вручну на наступному кроці.")
                          .arg(result.unmeasuredLegs)
                          .arg(m.legs.size());
    return result;
}
