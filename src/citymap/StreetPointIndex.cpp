#include "citymap/StreetPointIndex.h"

#include "citymap/MapPoints.h"

#include <algorithm>
#include <cmath>

std::uint64_t StreetPointIndex::pairKey(int a, int b)
{
    if (a > b)
        std::swap(a, b);
    return (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(b);
}

void StreetPointIndex::build(const MapPoints& points)
{
    m_ofStreet.clear();
    m_crossing.clear();
    for (const auto& [number, point] : points)
        addPoint(number, point);
}

void StreetPointIndex::addPoint(int number, const MapPoint& point)
{
    if (point.x == 0 || point.y == 0)
        return;
    const StreetPoint entry{number, QPoint(point.x, point.y)};
    const auto byNumber = [](const StreetPoint& a, const StreetPoint& b) { return a.number < b.number; };
    const std::array<int, 5>& streets = point.streets;
    for (std::size_t i = 0; i < streets.size(); ++i) {
        const int s = streets[i];
        if (s == 0 || std::find(streets.begin(), streets.begin() + std::ptrdiff_t(i), s) !=
                          streets.begin() + std::ptrdiff_t(i))
            continue;
        std::vector<StreetPoint>& list = m_ofStreet[s];
        list.insert(std::upper_bound(list.begin(), list.end(), entry, byNumber), entry);
        for (std::size_t j = i + 1; j < streets.size(); ++j) {
            if (streets[j] == 0 || streets[j] == s)
                continue;
            const auto [it, added] = m_crossing.try_emplace(pairKey(s, streets[j]), entry);
            if (!added && number < it->second.number)
                it->second = entry;
        }
    }
}

const std::vector<StreetPointIndex::StreetPoint>& StreetPointIndex::pointsOf(int street) const
{
    static const std::vector<StreetPoint> none;
    const auto it = m_ofStreet.find(street);
    return it == m_ofStreet.end() ? none : it->second;
}

const StreetPointIndex::StreetPoint* StreetPointIndex::nearestOn(int street, QPointF position) const
{
    const StreetPoint* nearest = nullptr;
    double best = 0.0;
    for (const StreetPoint& p : pointsOf(street)) {
        const double d = std::hypot(p.position.x() - position.x(), p.position.y() - position.y());
        if (!nearest || d < best) {
            nearest = &p;
            best = d;
        }
    }
    return nearest;
}

const StreetPointIndex::StreetPoint* StreetPointIndex::crossing(int a, int b) const
{
    const auto it = m_crossing.find(pairKey(a, b));
    return it == m_crossing.end() ? nullptr : &it->second;
}

std::size_t StreetPointIndex::memoryBytes() const
{
    std::size_t bytes = sizeof(*this);
    for (const auto& [street, list] : m_ofStreet)
        bytes += list.capacity() * sizeof(StreetPoint) + sizeof(std::vector<StreetPoint>) + sizeof(int) +
                 3 * sizeof(void*);
    bytes += m_ofStreet.bucket_count() * sizeof(void*);
    bytes += m_crossing.bucket_count() * sizeof(void*) +
             m_crossing.size() * (sizeof(std::uint64_t) + sizeof(StreetPoint) + 2 * sizeof(void*));
    return bytes;
}
