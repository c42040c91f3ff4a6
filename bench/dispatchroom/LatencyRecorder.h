#pragma once

#include "RoomLog.h"

#include <vector>

// From a commit on one workstation to each other workstation's open-orders list showing
// it: a new order appearing, a handed-out order showing its driver. One figure per
// commit and other workstation.
class LatencyRecorder
{
public:
    void add(const std::vector<RoomLog>& logs);

    std::size_t samples() const { return m_ms.size(); }
    int neverShown() const { return m_neverShown; } // other lists that never showed the commit
    double percentileMs(double p) const;
    double maxMs() const;

private:
    std::vector<double> m_ms;
    int m_neverShown = 0;
};
