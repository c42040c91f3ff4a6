#include "LatencyRecorder.h"

#include <algorithm>

void LatencyRecorder::add(const std::vector<RoomLog>& logs)
{
    auto measure = [&](const RoomLog& by, qint64 order, qint64 atNs, auto seenIn) {
        for (const RoomLog& other : logs) {
            if (other.workstation == by.workstation)
                continue;
            const QHash<qint64, qint64>& seen = seenIn(other);
            const auto it = seen.constFind(order);
            if (it == seen.cend())
                ++m_neverShown;
            else
                m_ms.push_back(double(*it - atNs) / 1e6);
        }
    };
    for (const RoomLog& log : logs) {
        for (const RoomLog::Commit& c : log.recorded)
            measure(log, c.order, c.atNs, [](const RoomLog& l) -> const QHash<qint64, qint64>& { return l.firstSeenNs; });
        for (const RoomLog::HandOut& h : log.handedOut)
            measure(log, h.order, h.atNs, [](const RoomLog& l) -> const QHash<qint64, qint64>& { return l.carriedSeenNs; });
    }
    std::sort(m_ms.begin(), m_ms.end());
}

double LatencyRecorder::percentileMs(double p) const
{
    if (m_ms.empty())
        return 0;
    return m_ms[std::min(m_ms.size() - 1, std::size_t(p * double(m_ms.size())))];
}

double LatencyRecorder::maxMs() const
{
    return m_ms.empty() ? 0 : m_ms.back();
}
