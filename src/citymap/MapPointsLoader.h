#pragma once

#include "foundation/MapPoints.h"

#include <QString>
#include <functional>
#include <optional>

class TDANI;

// Builds the in-memory point table from KARTA_MISTA: one entry per number from 0 to the
// highest number of a qualifying point (a crossing, PUKT_2 not 0, or a labelled point).
class MapPointsLoader
{
public:
    using Progress = std::function<void(int done, int total)>;

    // Nothing (and the reason) on a database failure or a point number beyond
    // kMaxMapPointNumber (a damaged row); the caller's table stays as it was.
    static std::optional<MapPoints> load(TDANI& dani, const Progress& progress = {},
                                         QString* error = nullptr);
};
