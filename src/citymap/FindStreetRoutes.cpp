#include "citymap/FindStreetRoutes.h"

#include "citymap/StreetGraph.h"

#include <algorithm>

namespace {

std::vector<int> streetsTo(const std::vector<StreetGraph::Node>& nodes, const std::vector<int>& parent,
                           int node, int destinationStreet)
{
    std::vector<int> streets{destinationStreet};
    for (int n = node; n >= 0; n = parent[std::size_t(n)])
        streets.push_back(nodes[std::size_t(n)].street);
    std::reverse(streets.begin(), streets.end());
    return streets;
}

} // namespace

std::vector<StreetRoute> FindStreetRoutes(const StreetGraph& graph, int start, int destination,
                                          std::size_t limit)
{
    std::vector<StreetRoute> routes;
    if (limit == 0 || !graph.isStreetNumber(start) || !graph.isStreetNumber(destination))
        return routes;
    if (start == destination) {
        routes.push_back({1, {start}});
        return routes;
    }
    const int from = graph.nodeOf(start);
    const int to = graph.nodeOf(destination);
    if (from < 0 || to < 0)
        return routes;

    const std::vector<StreetGraph::Node>& nodes = graph.nodes();
    // Streets that may pass onto the destination: once all of them are taken up, no
    // further candidate can come.
    std::size_t entriesLeft = 0;
    for (const StreetGraph::Link& l : nodes[std::size_t(to)].links)
        for (const StreetGraph::Link& back : nodes[std::size_t(l.to)].links)
            if (back.to == to && back.allowed)
                ++entriesLeft;

    std::vector<int> parent(nodes.size(), -1);
    std::vector<char> reached(nodes.size(), 0);
    reached[std::size_t(from)] = 1;
    reached[std::size_t(to)] = 1; // never taken up
    std::vector<int> level{from};
    std::vector<int> next;
    const auto byStreet = [&nodes](int a, int b) {
        return nodes[std::size_t(a)].street < nodes[std::size_t(b)].street;
    };
    for (int changes = 0; !level.empty() && entriesLeft > 0; ++changes) {
        next.clear();
        for (int node : level) {
            for (const StreetGraph::Link& l : nodes[std::size_t(node)].links) {
                if (!l.allowed)
                    continue;
                if (l.to == to) {
                    routes.push_back({changes + 1, streetsTo(nodes, parent, node, destination)});
                    if (routes.size() == limit || --entriesLeft == 0)
                        return routes;
                } else if (!reached[std::size_t(l.to)]) {
                    reached[std::size_t(l.to)] = 1;
                    parent[std::size_t(l.to)] = node;
                    next.push_back(l.to);
                }
            }
        }
        std::sort(next.begin(), next.end(), byStreet);
        level.swap(next);
    }
    return routes;
}
