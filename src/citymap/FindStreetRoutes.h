#pragma once

#include "citymap/StreetRoute.h"

#include <limits>
#include <vector>

class StreetGraph;

// The candidate street routes from street `start` to street `destination`, best first.
//
// Every change of street costs one step. The streets are taken up level by level (all
// streets one change away from the start, then two, …), the streets of a level in the
// order of their numbers, the destination street never; each street is reached from the
// lowest-numbered street of the level before it that may pass onto it. Each time a
// street that may pass onto the destination is taken up, the route through it becomes a
// candidate, so the candidates come in the order of their ranks and there is one for
// every such street the start reaches.
//
// A start equal to the destination gives the single one-street candidate; a street
// number outside 1 … maxStreetNumber (0 for a street that was not found) gives none.
// At most `limit` candidates are made: the first ones of the whole list.
std::vector<StreetRoute> FindStreetRoutes(const StreetGraph& graph, int start, int destination,
                                          std::size_t limit = std::numeric_limits<std::size_t>::max());
