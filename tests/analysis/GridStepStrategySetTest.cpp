#include "analysis/GridStepStrategySet.h"

#include "analysis/SensitivityResultGrid.h"
#include "foundation/NameList.h"
#include "analysis/CEDominance.h"

#include <gtest/gtest.h>

namespace {

// Three strategies over three steps; at step 1 they are (0,0), (15,1), (20,5).
void FillGrid(SensitivityResultGrid& grid)
{
    const double costs[3][3] = {{0, 0, 0}, {10, 15, 30}, {20, 20, 20}};
    const double effs[3][3] = {{0, 0, 0}, {2, 1, 6}, {5, 5, 5}};
    for (int i = 0; i < 3; ++i) {
        for (int t = 0; t < 3; ++t) {
            *grid.CellAt(i, t) = costs[i][t];
            *grid.SecondAt(i, t) = effs[i][t];
        }
    }
}

TEST(GridStepStrategySet, ReadsOneStep)
{
    SensitivityResultGrid grid(nullptr, 2, 3, 0.0, 1.0);
    ASSERT_EQ(grid.CellCount(), 9);
    FillGrid(grid);
    NameList names;
    names.AddText("Watch");
    names.AddText("Drug");
    names.AddText("Surgery");

    GridStepStrategySet step(grid, 1, &names);
    ASSERT_EQ(step.Count(), 3);
    EXPECT_EQ(step.Cost(1), 15);
    EXPECT_EQ(step.Effectiveness(1), 1);
    zString name;
    step.Name(2, name);
    EXPECT_STREQ(name.Text(), "Surgery");

    GridStepStrategySet unnamed(grid, 1, nullptr);
    name = "x";
    unnamed.Name(0, name);
    EXPECT_TRUE(name.IsEmpty());
}

TEST(GridStepStrategySet, DominanceChangesWithTheStep)
{
    SensitivityResultGrid grid(nullptr, 2, 3, 0.0, 1.0);
    FillGrid(grid);
    struct Row {
        int step;
        int drugState;
    };
    // Step 0: Drug (10,2) lies above the chord (0,0)-(20,5); step 1: (15,1) is dominated by nothing but
    // lies above the chord too; step 2: (30,6) is the most effective and stays on the frontier.
    const Row rows[] = {{0, CEPoint::ExtendedDominated}, {1, CEPoint::ExtendedDominated}, {2, CEPoint::Undominated}};
    for (const Row& row : rows) {
        CEPointList points;
        BuildCEPoints(GridStepStrategySet(grid, row.step, nullptr), points, 1);
        for (int i = 0; i < points.Count(); ++i) {
            if (points.Point(i)->strategyIndex == 1) {
                EXPECT_EQ(points.Point(i)->state, row.drugState) << "step " << row.step;
            }
        }
    }
}

}  // namespace
