#pragma once

#include <QPoint>
#include <cstdint>
#include <unordered_map>
#include <vector>

class MapPoints;
struct MapPoint;

// The placed map points of every street, for finding where a route point meets its
// street and where two streets cross. Kept in the order of the point numbers, so that
// of two equally near points, and of two crossings of one pair of streets, the lower
// number wins, as the rows of the map table come. Points with an X or Y of 0 are not
// placed and are left out.
class StreetPointIndex
{
public:
    struct StreetPoint
    {
        int number = 0;
        QPoint position;
    };

    void build(const MapPoints& points);
    void addPoint(int number, const MapPoint& point);

    // The placed points on a street.
    const std::vector<StreetPoint>& pointsOf(int street) const;
    // The point nearest to `position` on the street; nothing when the street has no
    // placed point.
    const StreetPoint* nearestOn(int street, QPointF position) const;
    // The lowest-numbered placed point where the two streets cross; nothing when they
    // do not cross at a placed point.
    const StreetPoint* crossing(int a, int b) const;

    std::size_t memoryBytes() const;

private:
    static std::uint64_t pairKey(int a, int b);

    std::unordered_map<int, std::vector<StreetPoint>> m_ofStreet;
    std::unordered_map<std::uint64_t, StreetPoint> m_crossing;
};
