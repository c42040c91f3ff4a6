#pragma once

#include <QDateTime>

struct DispatchContext;

// The moment up to which an unassigned order counts as hot: now plus the
// preliminary-order lead minutes.
QDateTime HotLimit(const DispatchContext& ctx);

// Orders in execution, hot and preliminary, shown in the main window's top bar.
// An order exactly at the limit is in neither of the last two. Throws DbError.
void RefreshOrderCounters(DispatchContext& ctx);
