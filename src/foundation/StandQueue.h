#pragma once

#include <QString>
#include <optional>

class FbQuery;

// The driver at the head of a stand's queue: the free driver there with the smallest
// queue key. Every place that shows or takes "the first driver of a stand" uses this.
// extraCondition, when given, is one more "AND (...)" fragment (built from literals).
// Throws DbError.
std::optional<qint64> FirstFreeDriverAtStand(FbQuery& query, const QString& stand, const QString& extraCondition = {});
