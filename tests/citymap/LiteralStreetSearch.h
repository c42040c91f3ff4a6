#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The street search as the city's first workstation did it, step by step, kept as the
// reference the fast search must agree with: an (N + 1) × (N + 1) matrix of cells with
// text paths, rebuilt before every leg, scanned whole at every step.
//
// Where the old search would index outside its matrix (a street number outside 1 … N in
// a crossing, a one-way entry or a leg) or stop at an unreadable one-way entry, this one
// ignores the number or skips the entry, as the workstation does now.
class LiteralStreetSearch
{
public:
    using Crossing = std::array<int, 5>;

    // The crossings are the map rows with a second street, in the order of their numbers.
    void prepare(int maxStreetNumber, const std::vector<Crossing>& crossings,
                 const QStringList& oneWayEntries);
    // Appends the candidates of one leg to the list, as "{rank}[s][…][t]".
    void find(int start, int destination, QStringList& candidates);

private:
    struct Cell
    {
        bool adjacent = false;
        QString path;
        int steps = 0;
        bool blocked = true;
    };
    Cell& cell(int from, int to)
    {
        return m_cells[std::size_t(from) * std::size_t(m_n + 1) + std::size_t(to)];
    }
    bool inRange(int street) const { return street >= 1 && street <= m_n; }

    int m_n = 0;
    std::vector<Cell> m_cells;
};
