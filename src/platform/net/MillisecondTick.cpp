#include "platform/net/MillisecondTick.h"

#include <ctime>

quint32 MillisecondTick()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<quint64>(now.tv_sec) * 1000u + static_cast<quint64>(now.tv_nsec) / 1000000u;
    return static_cast<quint32>(ms);
}
