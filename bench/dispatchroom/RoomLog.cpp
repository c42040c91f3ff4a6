#include "RoomLog.h"

#include <QFile>
#include <QTextStream>

bool RoomLog::save(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out << "W " << workstation << ' ' << lostRaces << ' ' << recordFailures << ' ' << longestRecordNs << ' '
        << longestHandOutNs << ' ' << reopens << ' ' << messages << ' ' << longestLostRaceNs << '\n';
    for (const Commit& c : recorded)
        out << "R " << c.order << ' ' << c.atNs << '\n';
    for (const HandOut& h : handedOut)
        out << "A " << h.order << ' ' << h.callsign << ' ' << h.atNs << '\n';
    for (auto it = firstSeenNs.cbegin(); it != firstSeenNs.cend(); ++it)
        out << "S " << it.key() << ' ' << it.value() << '\n';
    for (auto it = carriedSeenNs.cbegin(); it != carriedSeenNs.cend(); ++it)
        out << "C " << it.key() << ' ' << it.value() << '\n';
    out.flush();
    return file.error() == QFile::NoError;
}

bool RoomLog::load(const QString& path, RoomLog& log)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QTextStream in(&file);
    bool header = false;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(' '));
        const QString& kind = f.value(0);
        auto n = [&](int i) { return f.value(i).toLongLong(); };
        if (kind == QLatin1String("W") && f.size() == 9) {
            header = true;
            log.workstation = int(n(1));
            log.lostRaces = int(n(2));
            log.recordFailures = int(n(3));
            log.longestRecordNs = n(4);
            log.longestHandOutNs = n(5);
            log.reopens = n(6);
            log.messages = int(n(7));
            log.longestLostRaceNs = n(8);
        } else if (kind == QLatin1String("R") && f.size() == 3) {
            log.recorded.push_back({n(1), n(2)});
        } else if (kind == QLatin1String("A") && f.size() == 4) {
            log.handedOut.push_back({n(1), n(2), n(3)});
        } else if (kind == QLatin1String("S") && f.size() == 3) {
            log.firstSeenNs.insert(n(1), n(2));
        } else if (kind == QLatin1String("C") && f.size() == 3) {
            log.carriedSeenNs.insert(n(1), n(2));
        }
    }
    return header;
}
