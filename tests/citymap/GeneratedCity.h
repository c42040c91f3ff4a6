#pragma once

#include "citymap/MapPoints.h"

#include <QStringList>
#include <array>
#include <vector>

// Street networks for comparing the street search with the reference one and for the
// benchmark. The street numbers have gaps (numbers no street of the map uses) and are
// shuffled against the geometry, and the crossings include the odd rows a real table
// holds: three or more streets at one point, a street named twice, numbers outside
// 1 … maxStreet, a second street after an empty first slot.
struct GeneratedCity
{
    enum class Layout {
        Grid,   // a lattice of street segments, each crossing several others
        Sparse, // mostly a tree of side streets, a few loops, some streets crossing none
    };

    int maxStreet = 0;
    std::vector<int> streets; // the numbers in use
    MapPoints points;         // crossings, with coordinates, numbered from 1
    QStringList oneWayEntries;

    // About `streetCount` streets; `oneWayShare` of the passages between crossing
    // streets one-way, plus entries with a 0, outside the range, between streets that do
    // not cross, and a few that are not two numbers.
    static GeneratedCity make(Layout layout, int streetCount, double oneWayShare, unsigned seed);

    // The crossing rows in the order of their numbers, as the reference search reads them.
    std::vector<std::array<int, 5>> crossingRows() const;
};
