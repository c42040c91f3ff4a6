#include "citymap/StreetGraph.h"

#include "citymap/MapPoints.h"

#include <algorithm>

void StreetGraph::build(int maxStreetNumber, const MapPoints& points,
                        const std::vector<OneWayPassage>& passages)
{
    m_maxStreet = std::max(maxStreetNumber, 0);
    m_nodes.clear();
    m_nodeOfStreet.clear();
    m_blocked.clear();
    for (const auto& [number, point] : points)
        addPoint(point);
    setOneWayPassages(passages);
}

void StreetGraph::addPoint(const MapPoint& point)
{
    if (point.streets[1] != 0)
        addCrossing(point.streets);
}

void StreetGraph::addCrossing(const std::array<int, 5>& streets)
{
    for (std::size_t i = 0; i < streets.size(); ++i)
        for (std::size_t j = i + 1; j < streets.size(); ++j)
            if (streets[i] != streets[j] && isStreetNumber(streets[i]) && isStreetNumber(streets[j]))
                link(streets[i], streets[j]);
}

void StreetGraph::link(int a, int b)
{
    const int na = ensureNode(a);
    const int nb = ensureNode(b);
    std::vector<Link>& fromA = m_nodes[std::size_t(na)].links;
    if (std::any_of(fromA.begin(), fromA.end(), [nb](const Link& l) { return l.to == nb; }))
        return;
    fromA.push_back({nb, !m_blocked.contains(key(a, b))});
    m_nodes[std::size_t(nb)].links.push_back({na, !m_blocked.contains(key(b, a))});
}

int StreetGraph::ensureNode(int street)
{
    const auto [it, added] = m_nodeOfStreet.try_emplace(street, int(m_nodes.size()));
    if (added)
        m_nodes.push_back({street, {}});
    return it->second;
}

void StreetGraph::setOneWayPassages(const std::vector<OneWayPassage>& passages)
{
    m_blocked.clear();
    for (const OneWayPassage& p : passages)
        if (isStreetNumber(p.from) && isStreetNumber(p.to))
            m_blocked.insert(key(p.from, p.to));
    for (Node& node : m_nodes)
        for (Link& l : node.links)
            l.allowed = !m_blocked.contains(key(node.street, m_nodes[std::size_t(l.to)].street));
}

int StreetGraph::nodeOf(int street) const
{
    const auto it = m_nodeOfStreet.find(street);
    return it == m_nodeOfStreet.end() ? -1 : it->second;
}

bool StreetGraph::passable(int fromStreet, int toStreet) const
{
    const int a = nodeOf(fromStreet);
    const int b = nodeOf(toStreet);
    if (a < 0 || b < 0)
        return false;
    for (const Link& l : m_nodes[std::size_t(a)].links)
        if (l.to == b)
            return l.allowed;
    return false;
}

std::size_t StreetGraph::linkCount() const
{
    std::size_t count = 0;
    for (const Node& node : m_nodes)
        count += node.links.size();
    return count;
}

std::size_t StreetGraph::memoryBytes() const
{
    std::size_t bytes = sizeof(*this) + m_nodes.capacity() * sizeof(Node);
    for (const Node& node : m_nodes)
        bytes += node.links.capacity() * sizeof(Link);
    // Hash tables: one bucket pointer each, and a node of key, value and link per entry.
    bytes += m_nodeOfStreet.bucket_count() * sizeof(void*) +
             m_nodeOfStreet.size() * (sizeof(std::pair<const int, int>) + 2 * sizeof(void*));
    bytes += m_blocked.bucket_count() * sizeof(void*) +
             m_blocked.size() * (sizeof(std::uint64_t) + 2 * sizeof(void*));
    return bytes;
}
