#include "dispatch/QueueKey.h"

#include <algorithm>

QString NextQueueKey(const QStringList& keysAtPlace)
{
    qint64 largest = 0;
    for (const QString& key : keysAtPlace) {
        bool ok = false;
        const qint64 value = key.trimmed().toLongLong(&ok);
        if (ok)
            largest = std::max(largest, value);
    }
    const qint64 next = largest + 1;
    return next < 1000 ? QStringLiteral("%1").arg(next, 4, 10, QLatin1Char('0')) : QString::number(next);
}
