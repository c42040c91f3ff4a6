#pragma once

#include "orders/intake/RouteItem.h"

#include <QString>
#include <optional>

class TDANI;

// Makes a stored address (an earlier order's pick-up point, or the pick-up point and
// destination of an order being edited) a route item again: its map point is looked up
// by its place, and a place the map does not know becomes a point off the map.
class RoutePointLookup
{
public:
    explicit RoutePointLookup(TDANI& dani) : m_dani(dani) {}

    enum class BuildingMatch {
        ExactLabel,    // the map label is exactly "[street]{house}"
        LabelContains, // the map label holds "[street]{house}" among other text
    };

    // None for an empty address. A building is found by its "[street]{house}" (the last
    // matching point), anything else by a label equal to the whole address. Throws DbError.
    std::optional<RouteItem> itemFor(const QString& storedAddress, BuildingMatch match);

private:
    TDANI& m_dani;
};
