#include "GeneratedCity.h"
#include "LiteralStreetSearch.h"
#include "citymap/FindStreetRoutes.h"
#include "citymap/MapPoints.h"
#include "citymap/StreetGraph.h"

#include <gtest/gtest.h>
#include <random>

// Readable failures: the texts, not their bytes.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

QStringList texts(const std::vector<StreetRoute>& routes)
{
    QStringList result;
    for (const StreetRoute& r : routes)
        result << r.text();
    return result;
}

// A map whose point n + 1 is the n-th crossing given.
MapPoints crossings(const std::vector<std::array<int, 5>>& rows)
{
    MapPoints points;
    points.growTo(int(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        points.set(int(i) + 1, MapPoint{100 + int(i), 100, rows[i]});
    return points;
}

StreetGraph graphOf(int maxStreet, const std::vector<std::array<int, 5>>& rows,
                    const QStringList& oneWay = {})
{
    StreetGraph graph;
    graph.build(maxStreet, crossings(rows), OneWayPassages::parse(oneWay).passages());
    return graph;
}

QStringList routes(const StreetGraph& graph, int from, int to)
{
    return texts(FindStreetRoutes(graph, from, to));
}

} // namespace

TEST(StreetSearch, OneStreetGivesTheSingleOneStreetCandidate)
{
    const StreetGraph graph = graphOf(3, {{1, 2, 0, 0, 0}});
    EXPECT_EQ(routes(graph, 2, 2), QStringList{QStringLiteral("{1}[2]")});
    // Even a street that crosses nothing.
    EXPECT_EQ(routes(graph, 3, 3), QStringList{QStringLiteral("{1}[3]")});
}

TEST(StreetSearch, TwoCrossingsInARowGiveTheRouteOverTheMiddleStreet)
{
    const StreetGraph graph = graphOf(3, {{1, 2, 0, 0, 0}, {2, 3, 0, 0, 0}});
    EXPECT_EQ(routes(graph, 1, 3), QStringList{QStringLiteral("{2}[1][2][3]")});
    EXPECT_EQ(routes(graph, 1, 2), QStringList{QStringLiteral("{1}[1][2]")});
}

TEST(StreetSearch, AOneWayPassageIsClosedInItsDirectionOnly)
{
    const StreetGraph graph = graphOf(3, {{1, 2, 0, 0, 0}, {2, 3, 0, 0, 0}}, {QStringLiteral("[1]->[2]")});
    EXPECT_TRUE(routes(graph, 1, 3).isEmpty());
    EXPECT_EQ(routes(graph, 3, 1), QStringList{QStringLiteral("{2}[3][2][1]")});
    EXPECT_FALSE(graph.passable(1, 2));
    EXPECT_TRUE(graph.passable(2, 1));
}

TEST(StreetSearch, AStreetNamedTwiceAtAPointMakesNoPassage)
{
    const StreetGraph graph = graphOf(4, {{4, 4, 0, 0, 0}});
    EXPECT_EQ(graph.nodeOf(4), -1);
    EXPECT_TRUE(routes(graph, 4, 1).isEmpty());
}

TEST(StreetSearch, AStreetThatWasNotFoundGivesNoCandidate)
{
    const StreetGraph graph = graphOf(3, {{1, 2, 0, 0, 0}});
    EXPECT_TRUE(routes(graph, 0, 0).isEmpty()); // never "{1}[0]"
    EXPECT_TRUE(routes(graph, 0, 2).isEmpty());
    EXPECT_TRUE(routes(graph, 1, 0).isEmpty());
}

TEST(StreetSearch, NumbersOutsideTheStreetRangeAreIgnored)
{
    // Street 9 is beyond the highest street number, -2 below the first.
    const StreetGraph graph = graphOf(3, {{1, 9, 0, 0, 0}, {-2, 3, 0, 0, 0}, {1, 2, 3, 9, 0}},
                                      {QStringLiteral("[9]->[1]"), QStringLiteral("[1]->[-2]")});
    EXPECT_EQ(graph.nodeOf(9), -1);
    EXPECT_EQ(graph.nodeOf(-2), -1);
    EXPECT_TRUE(routes(graph, 9, 9).isEmpty());
    EXPECT_TRUE(routes(graph, 1, 9).isEmpty());
    EXPECT_EQ(routes(graph, 1, 3),
              (QStringList{QStringLiteral("{1}[1][3]"), QStringLiteral("{2}[1][2][3]")}));
}

TEST(StreetSearch, APointWithoutASecondStreetIsNoCrossing)
{
    // The first and third slots are filled, the second is empty.
    const StreetGraph graph = graphOf(3, {{1, 0, 3, 0, 0}});
    EXPECT_TRUE(routes(graph, 1, 3).isEmpty());
}

TEST(StreetSearch, EveryStreetThatPassesOntoTheDestinationGivesACandidateInRankOrder)
{
    // 1 crosses 2 and 5; 2 and 5 cross 3; 3 and 4 cross 6, 4 crosses 5.
    const StreetGraph graph = graphOf(6, {{1, 2, 0, 0, 0},
                                          {1, 5, 0, 0, 0},
                                          {5, 3, 0, 0, 0},
                                          {2, 3, 0, 0, 0},
                                          {3, 6, 4, 0, 0},
                                          {4, 5, 0, 0, 0}});
    EXPECT_EQ(routes(graph, 1, 6),
              (QStringList{QStringLiteral("{3}[1][2][3][6]"), QStringLiteral("{3}[1][5][4][6]")}));
    // Street 3 is reached from 2, the lower of the two streets it is one change past.
    EXPECT_EQ(routes(graph, 1, 3),
              (QStringList{QStringLiteral("{2}[1][2][3]"), QStringLiteral("{2}[1][5][3]"),
                           QStringLiteral("{3}[1][5][4][3]"), QStringLiteral("{4}[1][5][4][6][3]")}));
    EXPECT_EQ(texts(FindStreetRoutes(graph, 1, 3, 2)),
              (QStringList{QStringLiteral("{2}[1][2][3]"), QStringLiteral("{2}[1][5][3]")}));
}

TEST(StreetSearch, TheDestinationIsNeverPassedThrough)
{
    // 4 is reachable from 1 only through 3.
    const StreetGraph graph = graphOf(4, {{1, 2, 0, 0, 0}, {2, 3, 0, 0, 0}, {3, 4, 0, 0, 0}});
    EXPECT_EQ(routes(graph, 1, 3), QStringList{QStringLiteral("{2}[1][2][3]")});
}

TEST(StreetRouteText, RankInBracesThenEachStreetInBrackets)
{
    EXPECT_EQ((StreetRoute{3, {12, 7, 40, 1}}).text(), QStringLiteral("{3}[12][7][40][1]"));
}

TEST(OneWayEntries, TwoBracketedNumbersWithAnyTextAround)
{
    const OneWayPassages parsed = OneWayPassages::parse(
        {QStringLiteral("[12]->[7] з Лугової на Садову заборонено"), QStringLiteral(" [ 3 ] [4]"),
         QStringLiteral("[0]->[5]"), QStringLiteral("[5]->[0]")});
    EXPECT_EQ(parsed.passages(), (std::vector<OneWayPassage>{{12, 7}, {3, 4}}));
    EXPECT_TRUE(parsed.skipped().empty());
    EXPECT_TRUE(parsed.warnings().isEmpty());
}

TEST(OneWayEntries, AnEntryThatIsNotTwoNumbersIsSkippedAndTheOthersStillApply)
{
    const OneWayPassages parsed = OneWayPassages::parse(
        {QStringLiteral("[x1]->[2]"), QStringLiteral("[1]->[2]"), QStringLiteral("[3] лише одна"),
         QStringLiteral("без дужок"), QStringLiteral("]4[ [5]"), QStringLiteral("[6]->[7")});
    EXPECT_EQ(parsed.passages(), (std::vector<OneWayPassage>{{1, 2}}));
    ASSERT_EQ(parsed.skipped().size(), 5u);
    EXPECT_EQ(parsed.skipped()[0], (OneWayPassages::Skipped{0, QStringLiteral("[x1]->[2]")}));
    EXPECT_EQ(parsed.skipped()[1].entry, 2);
    EXPECT_EQ(parsed.skipped()[4].entry, 5);
    EXPECT_EQ(parsed.warnings().size(), 5);
    EXPECT_TRUE(parsed.warnings()[0].contains(QStringLiteral("Запис 1 ")));
}

// The search must give exactly the reference search's candidates, in its order and with
// its ranks, on every kind of city and every set of one-way entries.
class SearchAgreesWithTheReference : public ::testing::TestWithParam<GeneratedCity::Layout>
{
protected:
    static void compareLegs(const GeneratedCity& city, const StreetGraph& graph, int legs, std::mt19937& rng)
    {
        LiteralStreetSearch reference;
        const auto rows = city.crossingRows();
        std::vector<int> ends = city.streets;
        // Streets that were not found, beyond the range, gaps in the numbering.
        ends.insert(ends.end(), {0, -1, city.maxStreet, city.maxStreet + 1});
        for (int n = 1; n <= city.maxStreet; ++n)
            if (!std::binary_search(city.streets.begin(), city.streets.end(), n)) {
                ends.push_back(n);
                break;
            }
        std::uniform_int_distribution<std::size_t> pick(0, ends.size() - 1);
        int withCandidates = 0;
        for (int leg = 0; leg < legs; ++leg) {
            const int from = ends[pick(rng)];
            const int to = leg % 50 == 0 ? from : ends[pick(rng)];
            QStringList expected;
            reference.prepare(city.maxStreet, rows, city.oneWayEntries);
            reference.find(from, to, expected);
            const QStringList actual = texts(FindStreetRoutes(graph, from, to));
            ASSERT_EQ(actual, expected) << "leg " << leg << " from " << from << " to " << to;
            withCandidates += expected.isEmpty() ? 0 : 1;
        }
        // The cities must be connected enough for the comparison to mean something.
        EXPECT_GT(withCandidates, legs / 3);
    }
};

TEST_P(SearchAgreesWithTheReference, OnGeneratedCities)
{
    std::mt19937 rng(7);
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const GeneratedCity city = GeneratedCity::make(GetParam(), 25 + int(seed) * 6, 0.05 * seed, seed);
        StreetGraph graph;
        graph.build(city.maxStreet, city.points, OneWayPassages::parse(city.oneWayEntries).passages());
        compareLegs(city, graph, 600, rng);
    }
}

TEST_P(SearchAgreesWithTheReference, AfterPointsArriveAndTheOneWayListChanges)
{
    std::mt19937 rng(11);
    GeneratedCity city = GeneratedCity::make(GetParam(), 45, 0.1, 99);
    // The graph is built on the first half of the points and the first half of the
    // entries; the rest arrive afterwards.
    const int half = city.points.size() / 2;
    MapPoints firstHalf;
    firstHalf.growTo(half);
    for (int n = 0; n < half; ++n)
        firstHalf.set(n, city.points.at(n));
    const QStringList allEntries = city.oneWayEntries;
    StreetGraph graph;
    graph.build(city.maxStreet, firstHalf,
                OneWayPassages::parse(allEntries.mid(0, allEntries.size() / 2)).passages());
    for (int n = half; n < city.points.size(); ++n)
        graph.addPoint(city.points.at(n));
    graph.setOneWayPassages(OneWayPassages::parse(allEntries).passages());
    compareLegs(city, graph, 800, rng);

    // Lifting every one-way passage opens them all again.
    city.oneWayEntries.clear();
    graph.setOneWayPassages({});
    compareLegs(city, graph, 300, rng);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SearchAgreesWithTheReference,
                         ::testing::Values(GeneratedCity::Layout::Grid, GeneratedCity::Layout::Sparse),
                         [](const auto& layout) {
                             return layout.param == GeneratedCity::Layout::Grid ? "Grid" : "Sparse";
                         });
