#include "citymap/RouteMeasure.h"

#include "citymap/DistanceCoefficient.h"
#include "citymap/FindStreetRoutes.h"
#include "citymap/StreetNetwork.h"
#include "citymap/MapPoints.h"

#include <cmath>

namespace {

double distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// A route point on the map and where it meets its own street.
struct Placed
{
    QPointF position;
    QPointF anchor;
};

class LegMeasure
{
public:
    LegMeasure(const StreetNetwork& network, const MapPoints& points) : m_network(network), m_points(points)
    {
    }

    // The leg's best candidate; on failure, why it could not be measured.
    RouteMeasurement::Leg measure(const RoutePoint& p, const RoutePoint& q, QString* problem) const
    {
        RouteMeasurement::Leg leg;
        const std::optional<Placed> from = place(p, problem);
        const std::optional<Placed> to = from ? place(q, problem) : std::nullopt;
        if (!to)
            return leg;
        const LegStreets streets = legStreets(m_network.legEnd(p, m_points), m_network.legEnd(q, m_points));
        // The search gives its candidates in the order of their ranks, each starting on
        // the start street, so the first ones are the best-ranked and none is reversed.
        const std::vector<StreetRoute> candidates = FindStreetRoutes(
            m_network.graph(), streets.start, streets.destination, kMeasuredCandidatesPerLeg);
        if (candidates.empty()) {
            *problem = QStringLiteral("між вулицями пунктів не знайдено проїзду");
            return leg;
        }
        const double approaches = distance(from->position, from->anchor) + distance(to->position, to->anchor);
        for (const StreetRoute& candidate : candidates) {
            const double length = alongStreets(candidate, from->anchor, to->anchor) + approaches;
            // The shortest, the first of equal ones; a route of length 0 (both points at
            // one crossing) is the shortest too.
            if (!leg.measured || length < leg.length) {
                leg.measured = true;
                leg.best = candidate;
                leg.length = length;
            }
        }
        return leg;
    }

private:
    std::optional<Placed> place(const RoutePoint& point, QString* problem) const
    {
        const MapPoint mapPoint = m_points.at(point.mapPoint);
        if (point.mapPoint <= 0 || mapPoint.x == 0 || mapPoint.y == 0) {
            *problem = QStringLiteral("пункт \"%1\" не має місця на карті").arg(point.place());
            return std::nullopt;
        }
        const QPointF position(mapPoint.x, mapPoint.y);
        const int street = point.building ? m_network.streets().numberOf(point.street) : mapPoint.streets[0];
        const StreetPointIndex::StreetPoint* anchor = m_network.streetPoints().nearestOn(street, position);
        if (!anchor) {
            *problem = QStringLiteral("вулиця пункту \"%1\" не має точок на карті").arg(point.place());
            return std::nullopt;
        }
        return Placed{position, QPointF(anchor->position)};
    }

    // From anchor to anchor over the crossings of consecutive streets; a pair of streets
    // without a placed crossing is passed straight.
    double alongStreets(const StreetRoute& route, QPointF from, QPointF to) const
    {
        double length = 0.0;
        QPointF at = from;
        for (std::size_t i = 0; i + 1 < route.streets.size(); ++i) {
            if (const auto* crossing =
                    m_network.streetPoints().crossing(route.streets[i], route.streets[i + 1])) {
                length += distance(at, crossing->position);
                at = crossing->position;
            }
        }
        return length + distance(at, to);
    }

    const StreetNetwork& m_network;
    const MapPoints& m_points;
};

} // namespace

bool RouteMeasurement::complete() const
{
    for (const Leg& leg : legs)
        if (!leg.measured)
            return false;
    return !legs.empty();
}

RouteMeasurement MeasureRoute(const QList<RoutePoint>& route, const StreetNetwork& network,
                              const MapPoints& points, std::optional<double> metresPerPixel,
                              const QStringList& coefficientEntries)
{
    RouteMeasurement m;
    if (route.size() < 2)
        return m;
    m.lines << QStringLiteral("Початковий пункт = ") + route.first().place()
            << QStringLiteral("Пункт призначення = ") + route.last().place() << QString(30, QLatin1Char('='));
    const LegMeasure legs(network, points);
    double total = 0.0;
    for (qsizetype i = 0; i + 1 < route.size(); ++i) {
        m.lines << QStringLiteral("    ") << QStringLiteral("[%1] відрізок .....").arg(i + 1)
                << QStringLiteral("від ... ") + route[i].text
                << QStringLiteral("... до  ") + route[i + 1].text << QString(16, QLatin1Char('*'));
        QString problem;
        const RouteMeasurement::Leg leg = legs.measure(route[i], route[i + 1], &problem);
        if (leg.measured) {
            for (int street : leg.best.streets)
                m.lines << QStringLiteral("   ") + network.streets().nameOf(street);
            total += leg.length;
        } else {
            m.lines << QStringLiteral("   Відрізок не виміряно: ") + problem +
                           QStringLiteral("; кілометри вкажіть вручну.");
        }
        m.legs.push_back(leg);
    }
    m.mapUnits = total;
    if (!metresPerPixel || *metresPerPixel <= 0.0 || !std::isfinite(*metresPerPixel)) {
        m.lines << QStringLiteral("Масштаб карти не задано (LENGTH, LENGTH_TOCHKA): кілометри не обчислено.");
        return m;
    }
    m.factor = distanceFactor(coefficientEntries, total * *metresPerPixel / 1000.0);
    if (m.factor != 0.0)
        m.mapUnits = total * m.factor;
    m.kilometres = m.mapUnits * *metresPerPixel / 1000.0;
    m.kilometresText = shortestDecimal(*m.kilometres);
    return m;
}

QString shortestDecimal(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        text = QString::number(value, 'f', 15);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}
