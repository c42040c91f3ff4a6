#pragma once

#include <QtGlobal>

struct DispatchContext;

// Hands one open, unassigned order to one free driver on air. The order, the driver's
// row and the GPRS refresh row change together or not at all; false (and no message)
// when either side changed meanwhile or any write failed.
bool AssignOrderToDriver(DispatchContext& ctx, qint64 callsign, qint64 orderNumber);
