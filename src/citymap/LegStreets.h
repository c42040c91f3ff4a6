#pragma once

#include <array>

// A route point as the street search sees it: a building lies on its own street, an
// object on up to five streets (those of its map point, the first one its own).
struct LegEnd
{
    bool building = false;
    int street = 0;               // a building's street, 0 when it was not found
    std::array<int, 5> streets{}; // an object's streets, 0 = none
};

struct LegStreets
{
    int start = 0;
    int destination = 0;
};

// The start and destination streets of a leg from p to q. A building keeps its street;
// an object leaves on the street it shares with the other end when there is one, and
// otherwise on its own first street.
LegStreets legStreets(const LegEnd& p, const LegEnd& q);
