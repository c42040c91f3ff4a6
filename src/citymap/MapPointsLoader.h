#pragma once

#include "citymap/MapPoints.h"

#include <QString>
#include <functional>
#include <optional>

class FbQuery;

// Reads the map points that count for the map (a crossing, PUKT_2 not 0, or a labelled
// point) from KARTA_MISTA with one query. The log-in reads them all; the reaction to a
// house added elsewhere reads the numbers from the table's size on.
class MapPointsLoader
{
public:
    using Progress = std::function<void(int done, int total)>;

    // The points numbered `from` and above, with the table's size grown to at least
    // `from`. Nothing (and the reason) on a database failure: the caller's table stays
    // as it was. The query's transaction is committed after the read.
    static std::optional<MapPoints> load(FbQuery& query, qint64 from, const Progress& progress = {},
                                         QString* error = nullptr);
};
