#pragma once

#include <QtGlobal>

// Milliseconds of a monotonic clock, wrapping at 2^32 (about 49.7 days), like the
// tick counts used for tags, SDP versions and RTCP. Compare ticks by subtraction.
quint32 MillisecondTick();
