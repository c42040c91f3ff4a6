#pragma once

#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <vector>

class FbQuery;

// The driver at the head of a stand's queue: the free driver there with the smallest
// queue key. Every place that shows or takes "the first driver of a stand" uses this.
// extraCondition, when given, is one more "AND (...)" fragment (built from literals).
// Throws DbError.
std::optional<qint64> FirstFreeDriverAtStand(FbQuery& query, const QString& stand,
                                             const QString& extraCondition = {});

// The free drivers of a stand in queue order (smallest queue key first). Throws DbError.
struct QueuedDriver
{
    qint64 callsign = 0;
    QVariant jubileeMark; // invalid when not set
    QString model;
};
std::vector<QueuedDriver> FreeDriversAtStand(FbQuery& query, const QString& stand);

// The free drivers of every stand, each stand's in queue order, in one read (the stand
// grid shows them all at once). Throws DbError.
std::map<QString, std::vector<QueuedDriver>> FreeDriversByStand(FbQuery& query);
