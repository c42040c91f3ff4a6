#include "LiteralStreetSearch.h"

namespace {

QString bracketed(int n)
{
    return QLatin1Char('[') + QString::number(n) + QLatin1Char(']');
}

// The text between the first "[" and the "]" that follows it, and the entry with that
// bracketed part removed.
bool takeBracketed(QString& entry, int* number)
{
    const qsizetype open = entry.indexOf(QLatin1Char('['));
    const qsizetype close = open < 0 ? -1 : entry.indexOf(QLatin1Char(']'), open + 1);
    if (close < 0)
        return false;
    bool ok = false;
    *number = entry.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
    entry.remove(open, close - open + 1);
    return ok;
}

} // namespace

void LiteralStreetSearch::prepare(int maxStreetNumber, const std::vector<Crossing>& crossings,
                                  const QStringList& oneWayEntries)
{
    m_n = maxStreetNumber < 0 ? 0 : maxStreetNumber;
    m_cells.assign(std::size_t(m_n + 1) * std::size_t(m_n + 1), Cell{});
    for (const Crossing& c : crossings) {
        if (c[1] == 0)
            continue;
        for (int i = 0; i < 5; ++i)
            for (int j = i + 1; j < 5; ++j) {
                const int a = c[std::size_t(i)];
                const int b = c[std::size_t(j)];
                if (a == 0 || b == 0 || a == b || !inRange(a) || !inRange(b))
                    continue;
                cell(a, b).adjacent = true;
                cell(a, b).blocked = false;
                cell(b, a).adjacent = true;
                cell(b, a).blocked = false;
            }
    }
    for (QString entry : oneWayEntries) {
        int a = 0;
        int b = 0;
        if (!takeBracketed(entry, &a) || !takeBracketed(entry, &b))
            continue;
        if (a != 0 && b != 0 && inRange(a) && inRange(b))
            cell(a, b).blocked = true;
    }
}

void LiteralStreetSearch::find(int start, int destination, QStringList& candidates)
{
    if (!inRange(start) || !inRange(destination))
        return;
    if (start == destination) {
        candidates << QStringLiteral("{1}") + bracketed(start);
        return;
    }
    int current = start;
    QString currentPath = bracketed(start);
    int currentSteps = 0;
    QStringList expanded;
    for (;;) {
        for (int n = 1; n <= m_n; ++n) {
            Cell& c = cell(current, n);
            if (!c.adjacent || c.blocked)
                continue;
            if (c.steps == 0 || currentSteps + 1 < c.steps) {
                c.steps = currentSteps + 1;
                c.path = currentPath + bracketed(n);
                cell(n, current).steps = c.steps;
                cell(n, current).path = c.path;
            }
            if (n == destination)
                candidates << QLatin1Char('{') + QString::number(c.steps) + QLatin1Char('}') + c.path;
        }
        if (!expanded.contains(bracketed(current)))
            expanded << bracketed(current);

        int chosen = 0;
        int chosenSteps = 0;
        QString chosenPath;
        for (int n = 1; n <= m_n; ++n) {
            if (n == destination || expanded.contains(bracketed(n)))
                continue;
            for (int i = 1; i <= m_n; ++i) {
                if (i == n)
                    continue;
                const Cell& c = cell(n, i);
                if (c.steps != 0 && (chosenSteps == 0 || c.steps < chosenSteps)) {
                    chosen = n;
                    chosenSteps = c.steps;
                    chosenPath = c.path;
                }
            }
        }
        if (chosenSteps == 0)
            return;
        current = chosen;
        currentSteps = chosenSteps;
        currentPath = chosenPath;
    }
}
