#pragma once

#include <array>
#include <vector>

// One point of the city map as the map and the route measurement use it.
struct MapPoint
{
    int x = 0; // pixels; 0 = not placed
    int y = 0;
    std::array<int, 5> streets{}; // numbers of the streets the point lies on, 0 = none
};

// The largest point number the table takes; a larger one is a damaged row.
inline constexpr int kMaxMapPointNumber = 10'000'000;

// The in-memory table of map points, indexed by the point number (KOORD_KART_MISTA_NP).
class MapPoints
{
public:
    int size() const { return static_cast<int>(m_points.size()); }
    // Grows only: a smaller size leaves the table as it is.
    void growTo(int size)
    {
        if (size > this->size())
            m_points.resize(static_cast<std::size_t>(size));
    }
    void clear() { m_points.clear(); }
    // An unknown or out-of-range number is a point that is not placed.
    MapPoint at(int number) const
    {
        return number >= 0 && number < size() ? m_points[static_cast<std::size_t>(number)] : MapPoint{};
    }
    void set(int number, const MapPoint& point)
    {
        if (number >= 0 && number < size())
            m_points[static_cast<std::size_t>(number)] = point;
    }

private:
    std::vector<MapPoint> m_points;
};
