#include "GeneratedCity.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

namespace {

struct Builder
{
    std::mt19937 rng;
    std::vector<std::pair<std::array<int, 5>, std::pair<int, int>>> rows; // streets, (x, y)

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; }
    void crossing(std::array<int, 5> streets, int x, int y) { rows.push_back({streets, {x, y}}); }
};

// Lattice of rows × columns; each row and each column is cut into segments of 3 to 12
// blocks, every segment a street. A lattice node is the crossing of its row's and its
// column's segments, unless it is left out (a bridge over, a dead end).
int layGrid(Builder& b, int streetCount)
{
    const int side = std::max(3, int(std::sqrt(double(streetCount) * 7.5 / 2.0)));
    int next = 0;
    std::vector<int> rowSegment(std::size_t(side) * std::size_t(side));
    std::vector<int> columnSegment(rowSegment.size());
    for (int r = 0; r < side; ++r)
        for (int c = 0, left = 0; c < side; ++c, --left) {
            if (left <= 0) {
                left = b.uniform(3, 12);
                ++next;
            }
            rowSegment[std::size_t(r * side + c)] = next;
        }
    for (int c = 0; c < side; ++c)
        for (int r = 0, left = 0; r < side; ++r, --left) {
            if (left <= 0) {
                left = b.uniform(3, 12);
                ++next;
            }
            columnSegment[std::size_t(r * side + c)] = next;
        }
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            if (b.chance(0.08))
                continue;
            std::array<int, 5> s{rowSegment[std::size_t(r * side + c)],
                                 columnSegment[std::size_t(r * side + c)], 0, 0, 0};
            // Now and then a diagonal avenue through the same point.
            if (b.chance(0.03))
                s[2] = rowSegment[std::size_t(((r + 1) % side) * side + c)];
            b.crossing(s, 40 + c * 60, 40 + r * 60);
        }
    return next;
}

// A tree: each street crosses one of the streets laid shortly before it; some cross a
// second or third; a few cross nothing.
int laySparse(Builder& b, int streetCount)
{
    for (int s = 2; s <= streetCount; ++s) {
        if (b.chance(0.04))
            continue;
        const int links = b.chance(0.25) ? b.uniform(2, 3) : 1;
        for (int k = 0; k < links; ++k) {
            const int other = std::max(1, s - b.uniform(1, 25));
            std::array<int, 5> row{s, other, 0, 0, 0};
            b.crossing(row, b.uniform(1, 8000), b.uniform(1, 6000));
        }
    }
    return streetCount;
}

} // namespace

GeneratedCity GeneratedCity::make(Layout layout, int streetCount, double oneWayShare, unsigned seed)
{
    Builder b{std::mt19937(seed), {}};
    const int laid = layout == Layout::Grid ? layGrid(b, streetCount) : laySparse(b, streetCount);

    // Numbers with gaps, shuffled against the geometry.
    GeneratedCity city;
    std::vector<int> numbers;
    for (int n = 1; int(numbers.size()) < laid; ++n)
        if (!b.chance(0.15))
            numbers.push_back(n);
    std::shuffle(numbers.begin(), numbers.end(), b.rng);
    city.maxStreet =
        numbers.empty() ? 0 : *std::max_element(numbers.begin(), numbers.end()) + b.uniform(0, 3);
    city.streets = numbers;
    std::sort(city.streets.begin(), city.streets.end());
    const auto numberOf = [&numbers](int laidStreet) {
        return laidStreet == 0 ? 0 : numbers[std::size_t(laidStreet - 1)];
    };

    // Rows in a shuffled order of point numbers, with the odd ones among them.
    std::vector<std::pair<std::array<int, 5>, std::pair<int, int>>> rows;
    for (auto& [streets, xy] : b.rows) {
        std::array<int, 5> numbered{};
        for (std::size_t i = 0; i < 5; ++i)
            numbered[i] = numberOf(streets[i]);
        rows.push_back({numbered, xy});
    }
    const int odd = std::max(3, int(rows.size() / 40));
    const auto anyStreet = [&] { return numbers[std::size_t(b.uniform(0, int(numbers.size()) - 1))]; };
    for (int i = 0; i < odd && !numbers.empty(); ++i) {
        const int a = anyStreet();
        const int c = anyStreet();
        switch (i % 5) {
        case 0:
            rows.push_back({{a, a, 0, 0, 0}, {10, 10}});
            break; // named twice
        case 1:
            rows.push_back({{a, city.maxStreet + b.uniform(1, 50), 0, 0, 0}, {20, 20}});
            break; // beyond N
        case 2:
            rows.push_back({{-b.uniform(1, 9), a, 0, 0, 0}, {30, 30}});
            break; // negative
        case 3:
            rows.push_back({{0, a, c, 0, 0}, {40, 40}});
            break; // empty first slot
        default:
            rows.push_back({{a, 0, c, 0, 0}, {50, 50}});
            break; // not a crossing
        }
    }
    std::shuffle(rows.begin(), rows.end(), b.rng);
    city.points.growTo(int(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        city.points.set(int(i) + 1, MapPoint{rows[i].second.first, rows[i].second.second, rows[i].first});

    // One-way entries over the passages between crossing streets, in both spellings the
    // settings window shows.
    std::set<std::pair<int, int>> passages;
    for (const auto& [streets, xy] : rows)
        if (streets[1] != 0)
            for (std::size_t i = 0; i < 5; ++i)
                for (std::size_t j = i + 1; j < 5; ++j)
                    if (streets[i] > 0 && streets[j] > 0 && streets[i] != streets[j]) {
                        passages.insert({streets[i], streets[j]});
                        passages.insert({streets[j], streets[i]});
                    }
    for (const auto& [from, to] : passages)
        if (b.chance(oneWayShare))
            city.oneWayEntries << (b.chance(0.5) ? QStringLiteral("[%1]->[%2] з %1 на %2 заборонено")
                                                 : QStringLiteral(" [ %1 ] [%2]"))
                                      .arg(from)
                                      .arg(to);
    const int extra = std::max(2, int(city.oneWayEntries.size() / 10));
    for (int i = 0; i < extra && !numbers.empty(); ++i) {
        switch (i % 5) {
        case 0:
            city.oneWayEntries << QStringLiteral("[0]->[%1]").arg(anyStreet());
            break;
        case 1:
            city.oneWayEntries << QStringLiteral("[%1]->[%2]").arg(anyStreet()).arg(city.maxStreet + 7);
            break;
        case 2:
            city.oneWayEntries
                << QStringLiteral("[%1][%2] не перетинаються").arg(anyStreet()).arg(anyStreet());
            break;
        case 3:
            city.oneWayEntries << QStringLiteral("[%1] без другої вулиці").arg(anyStreet());
            break;
        default:
            city.oneWayEntries << QStringLiteral("[x%1]->[%2]").arg(anyStreet()).arg(anyStreet());
            break;
        }
    }
    std::shuffle(city.oneWayEntries.begin(), city.oneWayEntries.end(), b.rng);
    return city;
}

std::vector<std::array<int, 5>> GeneratedCity::crossingRows() const
{
    std::vector<std::array<int, 5>> rows;
    for (int n = 0; n < points.size(); ++n)
        if (points.at(n).streets[1] != 0)
            rows.push_back(points.at(n).streets);
    return rows;
}
