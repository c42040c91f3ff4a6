#pragma once

#include <QString>
#include <optional>

struct DispatchContext;

// What the stand grid shows for one stand with free drivers: the stand, two blanks and
// its queue, the head as <[12 G+]> and the others as [15] — "G" for a GPRS driver and "+"
// for a jubilee mark when those options are on — with the distance in front ("850 м.  ")
// when a start point is given and the map knows both places.
struct StandCellOptions
{
    bool gprsFlag = false;
    bool jubileeFlag = false;
    QString startPoint; // the order's pick-up, empty when there is none to measure from
};
// Throws DbError.
QString StandCellText(DispatchContext& ctx, const QString& stand, const StandCellOptions& options);
