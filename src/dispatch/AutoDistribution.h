#pragma once

#include "foundation/HotOrdersView.h"

#include <functional>

struct DispatchContext;

// Hands every hot order to the first GPRS driver of its nearest stand, within the
// configured distance, after the dispatcher confirms. hotLines are the lines of the
// hot orders list. progress(done, total) may be empty. Returns the orders handed out.
// Throws DbError when a read fails; each assignment stands on its own.
int DistributeHotOrders(DispatchContext& ctx, const QList<HotOrdersView::HotOrderLine>& hotLines,
                        const std::function<void(int, int)>& progress = {});
