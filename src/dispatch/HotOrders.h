#pragma once

#include "foundation/HotOrdersView.h"

struct DispatchContext;

// Rebuilds the hot orders list: every unassigned open order due by now plus the
// preliminary lead, red once it is overdue by the hot-order delay. Keeps the selected
// line. Returns the lines shown. Throws DbError.
QList<HotOrdersView::HotOrderLine> ListHotOrders(DispatchContext& ctx);
