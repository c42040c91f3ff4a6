#include "StreetLine.h"

#include <algorithm>

QVector<QPoint> StreetLine::through(QVector<QPoint> points)
{
    std::sort(points.begin(), points.end(), [](const QPoint& a, const QPoint& b) {
        return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y();
    });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return points;
    qint64 farthest = -1;
    QPoint from;
    QPoint to;
    for (qsizetype i = 0; i < points.size(); ++i)
        for (qsizetype j = i + 1; j < points.size(); ++j) {
            const QPoint d = points[j] - points[i];
            const qint64 squared = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
            if (squared > farthest) {
                farthest = squared;
                from = points[i];
                to = points[j];
            }
        }
    const QPoint direction = to - from;
    auto along = [&](const QPoint& p) {
        const QPoint d = p - from;
        return qint64(d.x()) * direction.x() + qint64(d.y()) * direction.y();
    };
    std::stable_sort(points.begin(), points.end(),
                     [&](const QPoint& a, const QPoint& b) { return along(a) < along(b); });
    return points;
}
