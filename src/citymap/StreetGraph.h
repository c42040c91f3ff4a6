#pragma once

#include "citymap/OneWayPassages.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class MapPoints;
struct MapPoint;

// Which streets cross which, and in which direction a driver may turn from one onto the
// other. Built once when the map is loaded, from the crossings of the map's point table
// (a point on two or more streets) and the one-way passages of the tariff settings;
// kept current as points arrive and as the one-way list changes.
//
// Streets are numbered 1 … maxStreetNumber (the highest SPISOK_VUL_NOMER); numbers
// outside that range in a crossing or a passage are ignored, and a crossing that names
// one street twice makes no passage. Only streets that cross another get a node, so
// a damaged huge street number costs nothing.
class StreetGraph
{
public:
    struct Link
    {
        int to = 0;           // node index
        bool allowed = false; // the passage from the node onto `to` is not one-way against
    };
    struct Node
    {
        int street = 0;
        std::vector<Link> links;
    };

    void build(int maxStreetNumber, const MapPoints& points, const std::vector<OneWayPassage>& passages);
    // A point that arrived after the load (a house or object put on the map elsewhere);
    // only a crossing changes the graph.
    void addPoint(const MapPoint& point);
    void setOneWayPassages(const std::vector<OneWayPassage>& passages);

    int maxStreetNumber() const { return m_maxStreet; }
    bool isStreetNumber(int street) const { return street >= 1 && street <= m_maxStreet; }
    // The node of a street, or -1 when it crosses no other street.
    int nodeOf(int street) const;
    const std::vector<Node>& nodes() const { return m_nodes; }
    // Whether a driver may pass from street a onto street b at one of their crossings.
    bool passable(int fromStreet, int toStreet) const;

    std::size_t linkCount() const;
    // Bytes held by the graph (nodes, links, the street index and the passages).
    std::size_t memoryBytes() const;

private:
    static std::uint64_t key(int from, int to)
    {
        return (std::uint64_t(std::uint32_t(from)) << 32) | std::uint32_t(to);
    }
    void addCrossing(const std::array<int, 5>& streets);
    int ensureNode(int street);
    void link(int a, int b);

    int m_maxStreet = 0;
    std::vector<Node> m_nodes;
    std::unordered_map<int, int> m_nodeOfStreet;
    std::unordered_set<std::uint64_t> m_blocked; // key(from, to) of the one-way passages
};
