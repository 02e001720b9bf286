#include "analysis/CEDominance.h"
#include "analysis/StrategySet.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Strategy {
    double cost;
    double effectiveness;
};

class VectorStrategySet : public StrategySet {
public:
    explicit VectorStrategySet(std::vector<Strategy> strategies) : strategies(std::move(strategies)) {}
    int32_t Count() const override { return static_cast<int32_t>(strategies.size()); }
    double Cost(int32_t i) const override { return strategies[i].cost; }
    double Effectiveness(int32_t i) const override { return strategies[i].effectiveness; }
    void Name(int32_t i, zString& name) const override { name = ("S" + std::to_string(i + 1)).c_str(); }

private:
    std::vector<Strategy> strategies;
};

// One extended-dominated point: its place in the sorted list, neighbours and bounds.
struct Bracket {
    int position;
    int lower;
    int upper;
    double costBound;
    double effBound;
};

struct DominanceCase {
    const char* title;
    std::vector<Strategy> strategies;
    int extended;
    std::vector<int> sortedStrategies;  // strategyIndex of each sorted point
    std::vector<int> states;            // state of each sorted point
    std::vector<Bracket> brackets;
};

class CEDominanceCases : public testing::TestWithParam<DominanceCase> {};

TEST_P(CEDominanceCases, SortsMarksAndBrackets)
{
    const DominanceCase& c = GetParam();
    VectorStrategySet set(c.strategies);
    CEPointList points;
    BuildCEPoints(set, points, c.extended);
    ASSERT_EQ(points.Count(), static_cast<int>(c.sortedStrategies.size()));
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint* p = points.Point(i);
        EXPECT_EQ(p->strategyIndex, c.sortedStrategies[i]) << "position " << i;
        EXPECT_EQ(p->state, c.states[i]) << "position " << i;
        EXPECT_EQ(std::string(p->name.Text()), "S" + std::to_string(p->strategyIndex + 1));
        EXPECT_EQ(p->cost, c.strategies[p->strategyIndex].cost);
        if (p->state != CEPoint::ExtendedDominated) {
            EXPECT_EQ(p->lowerIndex, -1) << "position " << i;
            EXPECT_EQ(p->upperIndex, -1) << "position " << i;
            EXPECT_EQ(p->costBound, 0.0);
            EXPECT_EQ(p->effBound, 0.0);
        }
    }
    for (const Bracket& b : c.brackets) {
        const CEPoint* p = points.Point(b.position);
        ASSERT_EQ(p->state, CEPoint::ExtendedDominated) << "position " << b.position;
        EXPECT_EQ(p->lowerIndex, b.lower) << "position " << b.position;
        EXPECT_EQ(p->upperIndex, b.upper) << "position " << b.position;
        EXPECT_NEAR(p->costBound, b.costBound, 1e-12) << "position " << b.position;
        EXPECT_NEAR(p->effBound, b.effBound, 1e-12) << "position " << b.position;
    }
}

// Frontiers worked out by hand: incremental ratios along the sorted list, and the bounds
// 1 - (p - a) / (b - a) of cost and effectiveness against the bracketing neighbours a and b.
INSTANTIATE_TEST_SUITE_P(
    HandComputed, CEDominanceCases,
    testing::Values(
        // Ratios S1-S2 = 5, S2-S3 = 10/3: S2 lies above the chord S1-S3; S4 costs more than S2 for less.
        DominanceCase{"FourStrategiesSimpleOnly", {{0, 0}, {10, 2}, {20, 5}, {15, 1}}, 0,
                      {0, 1, 3, 2}, {0, 0, 1, 0}, {}},
        DominanceCase{"FourStrategiesExtended", {{0, 0}, {10, 2}, {20, 5}, {15, 1}}, 1,
                      {0, 1, 3, 2}, {0, 2, 1, 0}, {{1, 0, 3, 0.5, 0.6}}},
        // Ratios 1, 2, 3 then 1/7: the last strategy unwinds the whole frontier back to the first
        // (chord slope 0.7 from (0,0) to (7,10)).
        DominanceCase{"UnwindsWholeFrontier", {{0, 0}, {1, 1}, {3, 2}, {6, 3}, {7, 10}}, 1,
                      {0, 1, 2, 3, 4}, {0, 2, 2, 2, 0},
                      {{1, 0, 4, 6.0 / 7.0, 0.9}, {2, 0, 4, 4.0 / 7.0, 0.8}, {3, 0, 4, 1.0 / 7.0, 0.7}}},
        // Ratios 0.5, 1.5 then 0.5: only (4,4) falls; the ratio (5,6)-(1,2) = 1 is not below 0.5.
        DominanceCase{"UnwindStopsAtConvexPoint", {{0, 0}, {1, 2}, {4, 4}, {5, 6}}, 1,
                      {0, 1, 2, 3}, {0, 0, 2, 0}, {{2, 1, 3, 0.25, 0.5}}},
        // Input out of order: sorted by cost before marking.
        DominanceCase{"UnsortedInput", {{5, 6}, {4, 4}, {0, 0}, {1, 2}}, 1,
                      {2, 3, 1, 0}, {0, 0, 2, 0}, {{2, 1, 3, 0.25, 0.5}}},
        // Equal cost: the more effective strategy sorts first whatever the input order, so the other
        // is dominated.
        DominanceCase{"EqualCostLessEffectiveSecond", {{0, 0}, {10, 5}, {10, 3}}, 1,
                      {0, 1, 2}, {0, 0, 1}, {}},
        DominanceCase{"EqualCostLessEffectiveFirst", {{0, 0}, {10, 3}, {10, 5}}, 1,
                      {0, 2, 1}, {0, 0, 1}, {}},
        DominanceCase{"EqualCostCheapestPair", {{4, 1}, {4, 2}, {9, 3}}, 0,
                      {1, 0, 2}, {0, 1, 0}, {}},
        // Equal effectiveness at a higher cost is dominated.
        DominanceCase{"EqualEffectivenessDearer", {{0, 1}, {5, 1}}, 1, {0, 1}, {0, 1}, {}},
        // Differences both below 1e-10: the same strategy, not dominated.
        DominanceCase{"NearlyIdentical", {{1, 1}, {1 + 5e-11, 1 - 5e-11}}, 1, {0, 1}, {0, 0}, {}},
        // Identical strategies share one fate: both extended-dominated by the chord S1-S4. Of the twins the
        // later one is sorted first.
        DominanceCase{"IdenticalPairExtended", {{0, 0}, {10, 2}, {10, 2}, {20, 5}}, 1,
                      {0, 2, 1, 3}, {0, 2, 2, 0}, {{1, 0, 3, 0.5, 0.6}, {2, 0, 3, 0.5, 0.6}}},
        DominanceCase{"IdenticalPairSimpleOnly", {{0, 0}, {10, 2}, {10, 2}, {20, 5}}, 0,
                      {0, 2, 1, 3}, {0, 0, 0, 0}, {}},
        DominanceCase{"SingleStrategy", {{5, 1}}, 1, {0}, {0}, {}},
        DominanceCase{"EmptySet", {}, 1, {}, {}, {}},
        // Collinear frontier: equal ratios are not a fall, nothing is extended-dominated.
        DominanceCase{"CollinearFrontier", {{0, 0}, {2, 1}, {4, 2}}, 1, {0, 1, 2}, {0, 0, 0}, {}}),
    [](const testing::TestParamInfo<DominanceCase>& info) { return std::string(info.param.title); });

TEST(CEDominance, NoExtendedStateWithoutFlag)
{
    VectorStrategySet set({{0, 0}, {1, 1}, {3, 2}, {6, 3}, {7, 10}, {8, 9}});
    CEPointList points;
    BuildCEPoints(set, points, 0);
    for (int i = 0; i < points.Count(); ++i) {
        EXPECT_NE(points.Point(i)->state, CEPoint::ExtendedDominated);
        EXPECT_EQ(points.Point(i)->lowerIndex, -1);
    }
    EXPECT_EQ(points.Point(5)->state, CEPoint::Dominated);
}

TEST(CEDominance, MarkingAgainReplacesEarlierResult)
{
    VectorStrategySet set({{0, 0}, {10, 2}, {20, 5}, {15, 1}});
    CEPointList points;
    BuildCEPoints(set, points, 1);
    MarkDominatedPoints(points, 0);
    EXPECT_EQ(points.Point(1)->state, CEPoint::Undominated);
    EXPECT_EQ(points.Point(1)->lowerIndex, -1);
    EXPECT_EQ(points.Point(1)->costBound, 0.0);
}

struct StepCase {
    double costDifference;
    double effDifference;
    bool dominated;
};

TEST(CEDominance, IsDominatedStep)
{
    const StepCase cases[] = {
        {-1.0, -5.0, false},   // cheaper
        {5.0, 1.0, false},     // dearer but more effective
        {5.0, 0.0, true},      // dearer, equally effective
        {0.0, -1.0, true},     // same cost, less effective
        {0.0, 0.0, false},     // the same point
        {5e-11, -5e-11, false},
        {2e-10, 0.0, true},
        {0.0, -2e-10, true},
        {0.0, 1e-12, false},
    };
    for (const StepCase& c : cases)
        EXPECT_EQ(IsDominatedStep(c.costDifference, c.effDifference), c.dominated)
            << c.costDifference << ", " << c.effDifference;
}

TEST(CEDominance, IncrementalRatioIsSymmetric)
{
    CEPoint a(10, 2, "a", 0);
    CEPoint b(20, 5, "b", 1);
    EXPECT_DOUBLE_EQ(IncrementalRatio(a, b), 10.0 / 3.0);
    EXPECT_DOUBLE_EQ(IncrementalRatio(b, a), 10.0 / 3.0);
}

TEST(CEDominance, NextUndominatedIndex)
{
    VectorStrategySet set({{0, 0}, {10, 2}, {20, 5}, {15, 1}});
    CEPointList points;
    BuildCEPoints(set, points, 1);  // states 0, 2, 1, 0
    EXPECT_EQ(NextUndominatedIndex(points, 0), 3);
    EXPECT_EQ(NextUndominatedIndex(points, 1), 3);
    EXPECT_EQ(NextUndominatedIndex(points, 3), -1);
    EXPECT_EQ(NextUndominatedIndex(points, -1), 0);
}

TEST(CEDominance, GetCERanges)
{
    VectorStrategySet set({{3, -1}, {10, 2}, {-4, 5}, {15, 1}});
    CEPointList points;
    BuildCEPoints(set, points, 1);
    double minCost = 99, maxCost = 99, minEff = 99, maxEff = 99;
    GetCERanges(points, minCost, maxCost, minEff, maxEff);
    EXPECT_EQ(minCost, -4);
    EXPECT_EQ(maxCost, 15);
    EXPECT_EQ(minEff, -1);
    EXPECT_EQ(maxEff, 5);

    CEPointList empty;
    GetCERanges(empty, minCost, maxCost, minEff, maxEff);
    EXPECT_EQ(minCost, -4);
    EXPECT_EQ(maxEff, 5);
}

// Second algorithm: a strategy is dominated when another costs no more and is at least as effective;
// an undominated strategy is extended-dominated when the chord between two undominated strategies
// around it in effectiveness is cheaper at its effectiveness.
std::vector<int> BruteForceStates(const std::vector<Strategy>& s)
{
    const size_t n = s.size();
    std::vector<int> states(n, 0);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            if (j != i && s[j].cost <= s[i].cost && s[j].effectiveness >= s[i].effectiveness)
                states[i] = 1;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        if (states[i] != 0)
            continue;
        for (size_t a = 0; a < n && states[i] == 0; ++a) {
            for (size_t b = 0; b < n; ++b) {
                if (states[a] == 1 || states[b] == 1)
                    continue;
                if (!(s[a].effectiveness < s[i].effectiveness && s[i].effectiveness < s[b].effectiveness))
                    continue;
                const double t = (s[i].effectiveness - s[a].effectiveness) / (s[b].effectiveness - s[a].effectiveness);
                if (s[a].cost + t * (s[b].cost - s[a].cost) < s[i].cost - 1e-9) {
                    states[i] = 2;
                    break;
                }
            }
        }
    }
    return states;
}

TEST(CEDominance, AgreesWithBruteForceOnRandomSets)
{
    std::mt19937 generator(12345);
    std::uniform_real_distribution<double> costs(0.0, 1000.0);
    std::uniform_real_distribution<double> effs(0.0, 20.0);
    for (int round = 0; round < 300; ++round) {
        std::vector<Strategy> strategies(2 + round % 9);
        for (Strategy& s : strategies)
            s = {costs(generator), effs(generator)};
        VectorStrategySet set(strategies);
        CEPointList points;
        BuildCEPoints(set, points, 1);
        const std::vector<int> expected = BruteForceStates(strategies);
        for (int i = 0; i < points.Count(); ++i) {
            const CEPoint* p = points.Point(i);
            ASSERT_EQ(p->state, expected[p->strategyIndex]) << "round " << round << " strategy " << p->strategyIndex;
            if (i > 0) {
                ASSERT_LE(points.Point(i - 1)->cost, p->cost);
            }
        }
    }
}

}  // namespace
