#pragma once

#include <QDateTime>

struct DispatchContext;

// The moment up to which an unassigned order counts as hot: now plus the
// preliminary-order lead minutes.
QDateTime HotLimit(const DispatchContext& ctx);
// The same for a lead in minutes (the setting's text) that is not in force yet.
QDateTime HotLimitAt(const QDateTime& now, const QString& leadMinutes);

struct OrderCounts
{
    int inExecution = 0;
    int hot = 0;
    int preliminary = 0;
};
// Orders in execution, hot and preliminary at the hot limit. An order exactly at the
// limit is in neither of the last two. Throws DbError.
OrderCounts CountOrders(DispatchContext& ctx, const QDateTime& limit);
void ShowOrderCounters(DispatchContext& ctx, const OrderCounts& counts);

// Counts at the current hot limit, shown in the main window's top bar. Throws DbError.
void RefreshOrderCounters(DispatchContext& ctx);
