#include "citymap/LegStreets.h"

#include <algorithm>

namespace {
int sharedOrFirst(int other, const std::array<int, 5>& streets)
{
    // An empty slot (0) is no street: a building whose street was not found shares none.
    return other != 0 && std::find(streets.begin(), streets.end(), other) != streets.end() ? other
                                                                                           : streets[0];
}
} // namespace

LegStreets legStreets(const LegEnd& p, const LegEnd& q)
{
    if (p.building && q.building)
        return {p.street, q.street};
    if (p.building)
        return {p.street, sharedOrFirst(p.street, q.streets)};
    if (q.building)
        return {sharedOrFirst(q.street, p.streets), q.street};
    return {p.streets[0], q.streets[0]};
}
