#pragma once

#include "foundation/StandQueue.h"

#include <QHash>
#include <QString>
#include <map>
#include <vector>

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

// The cells of every stand at once: the queues and the distances are read once (two or
// three statements), however many stands the grid shows.
class StandCells
{
public:
    // Throws DbError.
    StandCells(DispatchContext& ctx, const StandCellOptions& options);

    QString text(const QString& stand) const;

private:
    StandCellOptions m_options;
    std::map<QString, std::vector<QueuedDriver>> m_queues;
    QHash<QString, double> m_distances;
};

// One stand's cell. Throws DbError.
QString StandCellText(DispatchContext& ctx, const QString& stand, const StandCellOptions& options);
