#pragma once

#include <QtGlobal>
#include <array>
#include <map>

// One point of the city map as the map and the route measurement use it.
struct MapPoint
{
    int x = 0; // pixels; 0 = not placed
    int y = 0;
    std::array<int, 5> streets{}; // numbers of the streets the point lies on, 0 = none
};

// The in-memory table of map points by point number (KOORD_KART_MISTA_NP). Only the
// points that exist are held, so a damaged number far beyond any city, or a gap of
// millions, costs one entry and not memory for every number below it.
class MapPoints
{
public:
    using Entries = std::map<int, MapPoint>;

    // One more than the highest number held (or grown to): new points are read from
    // this number on.
    qint64 size() const { return m_size; }
    // The points held.
    int count() const { return static_cast<int>(m_points.size()); }
    // Grows only: a smaller size leaves the table as it is.
    void growTo(qint64 size)
    {
        if (size > m_size)
            m_size = size;
    }
    void clear()
    {
        m_points.clear();
        m_size = 0;
    }
    // An unknown number is a point that is not placed.
    MapPoint at(int number) const
    {
        const auto found = m_points.find(number);
        return found == m_points.end() ? MapPoint{} : found->second;
    }
    // A negative number has no entry and is left out.
    void set(int number, const MapPoint& point)
    {
        if (number < 0)
            return;
        m_points[number] = point;
        growTo(qint64(number) + 1);
    }
    // The points held, in number order.
    Entries::const_iterator begin() const { return m_points.begin(); }
    Entries::const_iterator end() const { return m_points.end(); }

private:
    Entries m_points;
    qint64 m_size = 0;
};
