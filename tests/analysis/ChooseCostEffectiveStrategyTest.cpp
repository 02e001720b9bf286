#include "analysis/ChooseCostEffectiveStrategy.h"

#include "analysis/CEDominance.h"
#include "analysis/StrategySet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Strategy {
    double cost;
    double effectiveness;
};

class ListStrategySet : public StrategySet {
public:
    explicit ListStrategySet(std::vector<Strategy> strategies) : strategies(std::move(strategies)) {}
    int32_t Count() const override { return static_cast<int32_t>(strategies.size()); }
    double Cost(int32_t i) const override { return strategies[i].cost; }
    double Effectiveness(int32_t i) const override { return strategies[i].effectiveness; }
    void Name(int32_t i, zString& name) const override { name = ""; }

private:
    std::vector<Strategy> strategies;
};

CEChoiceLimits Limits(double pay, int exclude = 0, int useCeiling = 0, double ceiling = 0, int useFloor = 0,
                      double floor = 0)
{
    CEChoiceLimits limits;
    limits.willingnessToPay = pay;
    limits.excludeExtended = exclude;
    limits.useCostCeiling = useCeiling;
    limits.costCeiling = ceiling;
    limits.useEffectivenessFloor = useFloor;
    limits.effectivenessFloor = floor;
    return limits;
}

struct ChoiceCase {
    const char* title;
    std::vector<Strategy> strategies;
    CEChoiceLimits limits;
    int expectedStrategy;  // strategy index in the set, -1 for none
};

// Choices worked out by hand from the incremental ratios along the sorted frontier.
TEST(ChooseCostEffectivePoint, RecommendsByWillingnessToPayAndLimits)
{
    // Ratios 2 then 8 along (0,0), (2,1), (10,2).
    const std::vector<Strategy> convex = {{10, 2}, {0, 0}, {2, 1}};
    // (0,0), (10,2), (15,1) dominated, (20,5); (10,2) extended-dominated, ratio (0,0)-(20,5) = 4.
    const std::vector<Strategy> withExtended = {{0, 0}, {10, 2}, {20, 5}, {15, 1}};
    const ChoiceCase cases[] = {
        {"no willingness to pay: most effective", convex, Limits(0), 0},
        {"negative willingness to pay", convex, Limits(-3), 0},
        {"ratios 2 and 8, pay 5: the middle", convex, Limits(5), 2},
        {"pay above both ratios", convex, Limits(10), 0},
        {"pay equal to the first ratio is not enough", convex, Limits(2), 1},
        {"pay below every ratio: the cheapest", convex, Limits(1), 1},
        {"ceiling below the cheapest: none", convex, Limits(0, 0, 1, -1), -1},
        {"ceiling between", convex, Limits(0, 0, 1, 5), 2},
        {"ceiling equal to a cost admits it", convex, Limits(0, 0, 1, 10), 0},
        {"floor above every strategy: none", convex, Limits(0, 0, 0, 0, 1, 3), -1},
        {"floor rules out the cheapest", convex, Limits(3, 0, 0, 0, 1, 0.5), 2},
        {"first above the floor too dear against the one below", convex, Limits(1, 0, 0, 0, 1, 0.5), -1},
        // (0,0) and (2,1) lie below the floor; (10,2) against (2,1) costs 8 per unit: more than 5.5,
        // although against (0,0) it would cost only 5.
        {"below-floor strategy is still the reference", convex, Limits(5.5, 0, 0, 0, 1, 1.5), -1},
        {"dominated strategies are passed over", withExtended, Limits(0), 2},
        {"extended-dominated kept: ratio 5 too dear, then 4 from the first", withExtended, Limits(4.5), 2},
        {"extended-dominated kept and affordable under the ceiling", withExtended, Limits(0, 0, 1, 12), 1},
        {"extended-dominated excluded", withExtended, Limits(0, 1, 1, 12), 0},
        {"single strategy", {{7, 3}}, Limits(100), 0},
        {"no strategies", {}, Limits(0), -1},
        // Equal cost: the less effective twin is dominated whatever the input order.
        {"equal cost, better second", {{0, 0}, {10, 3}, {10, 5}}, Limits(0), 2},
        {"equal cost, better first", {{0, 0}, {10, 5}, {10, 3}}, Limits(0), 1},
        // Identical strategies: the later one is sorted first and recommended, the other adds no effectiveness.
        {"identical strategies", {{0, 0}, {10, 2}, {10, 2}}, Limits(0), 2},
    };
    for (const ChoiceCase& c : cases) {
        ListStrategySet set(c.strategies);
        CEPointList points;
        BuildCEPoints(set, points, 1);
        const int position = ChooseCostEffectivePoint(points, c.limits);
        const int strategy = position < 0 ? -1 : points.Point(position)->strategyIndex;
        EXPECT_EQ(strategy, c.expectedStrategy) << c.title;
    }
}

}  // namespace

#include "tests/support/MessageBoxRecorder.h"
#include "model/TreeDocument.h"

#include <string>

namespace {

TEST(ChooseCostEffectiveStrategy, FormulaErrorGivesNoRecommendation)
{
    TreeDocument tree;
    ListStrategySet set({{0, 0}, {10, 2}});
    CEPointList points;
    BuildCEPoints(set, points, 1);

    struct Row {
        const char* pay;
        const char* ceiling;
        const char* floor;
        const char* formulaName;
    };
    const Row rows[] = {
        {"nosuch", "1", "1", "willingness to pay"},
        {"0", "nosuch*2", "1", "maximum cost value"},
        {"0", "1", "1/", "minimum effectiveness value"},
    };
    for (const Row& row : rows) {
        tree.CESettings.willingnessToPay.SetText(row.pay);
        tree.CESettings.costCeiling.SetText(row.ceiling);
        tree.CESettings.effectivenessFloor.SetText(row.floor);
        tree.CESettings.useCostCeiling = 1;
        tree.CESettings.useEffectivenessFloor = 1;
        MessageBoxRecorder boxes;
        RunFault error;
        EXPECT_EQ(ChooseCostEffectiveStrategy(tree.CESettings, points, &tree, &error), -1) << row.formulaName;
        EXPECT_TRUE(error) << row.formulaName;
        ASSERT_EQ(boxes.Count(), 1u) << row.formulaName;
        EXPECT_NE(boxes.Last().text.find(std::string("Unable to evaluate ") + row.formulaName + "."),
                  std::string::npos)
            << boxes.Last().text;
    }
}

TEST(ChooseCostEffectiveStrategy, UnusedLimitsAreNotEvaluated)
{
    TreeDocument tree;
    ListStrategySet set({{0, 0}, {10, 2}});
    CEPointList points;
    BuildCEPoints(set, points, 1);
    tree.CESettings.costCeiling.SetText("nosuch");
    tree.CESettings.effectivenessFloor.SetText("nosuch");
    MessageBoxRecorder boxes;
    RunFault error;
    const int position = ChooseCostEffectiveStrategy(tree.CESettings, points, &tree, &error);
    EXPECT_FALSE(error);
    EXPECT_EQ(boxes.Count(), 0u);
    ASSERT_EQ(position, 1);

    error.Set(OutcomeCode::FormulaFailed);
    EXPECT_EQ(ChooseCostEffectiveStrategy(tree.CESettings, points, &tree, &error), -1);
}

}  // namespace
