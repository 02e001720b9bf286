// The threshold finder of the sensitivity result grid, on hand-made series of a maximising decision.

#include "analysis/LineCrossing.h"
#include "analysis/SensitivityResultGrid.h"
#include "analysis/CEReport.h"
#include "foundation/MemoryStream.h"
#include "foundation/TextReport.h"
#include "foundation/NumericFormat.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A decision with one terminal branch per series; the grid runs x from 0 to 4 in 4 intervals.
struct Lines {
    explicit Lines(const std::vector<std::vector<double>>& values)
    {
        for (size_t i = 0; i < values.size(); ++i)
            tree.Terminal(tree.Root(), "s", "", "0");
        grid = std::make_unique<SensitivityResultGrid>(tree.Root(), 4, static_cast<int>(values.size()), 0.0, 4.0);
        for (size_t i = 0; i < values.size(); ++i)
            for (int t = 0; t <= 4; ++t)
                *grid->ThirdAt(static_cast<int>(i), t) = values[i][t];
    }
    TreeBuilder tree;
    std::unique_ptr<SensitivityResultGrid> grid;
};

TEST(SensitivityResultGrid, CrossingBetweenStepsIsInterpolatedUnlessAThirdLineIsAbove)
{
    // Series 0 falls 40..0, series 1 is 5: they cross at x = 3.5 with 5; series 0 is better below.
    Lines two({{40, 30, 20, 10, 0}, {5, 5, 5, 5, 5}});
    ThresholdList found;
    two.grid->FindOptimalChanges(found, -1, 0);
    ASSERT_EQ(found.Count(), 1);
    EXPECT_NEAR(found.At(0)->x, 3.5, 1e-12);
    EXPECT_NEAR(found.At(0)->value, 5.0, 1e-12);
    EXPECT_EQ(found.At(0)->node, two.tree.Root()->GetChild(0));

    Lines covered({{40, 30, 20, 10, 0}, {5, 5, 5, 5, 5}, {6, 6, 6, 12, 12}});
    ThresholdList none;
    covered.grid->FindOptimalChanges(none, -1, 0);
    for (int i = 0; i < none.Count(); ++i)
        EXPECT_NE(none.At(i)->x, 3.5) << "the crossing under series 2 is no threshold";
}

TEST(SensitivityResultGrid, TiesAtGridPointsGiveOneThresholdPerX)
{
    // Series 0 and 1 meet at step 2 (x = 2); series 2 meets both there too: three pairs, one threshold.
    Lines tie({{0, 1, 2, 3, 4}, {4, 3, 2, 1, 0}, {-8, -4, 2, -4, -8}});
    ThresholdList found;
    tie.grid->FindOptimalChanges(found, -1, 0);
    ASSERT_EQ(found.Count(), 1);
    EXPECT_EQ(found.At(0)->x, 2.0);
    EXPECT_EQ(found.At(0)->value, 2.0);
    EXPECT_EQ(found.At(0)->node, tie.tree.Root()->GetChild(1)) << "series 1 is optimal just below";

    SensitivityResultGrid::AddThreshold(found, nullptr, 0, 1, 2.0 + 5e-11, 2.0);
    SensitivityResultGrid::AddThreshold(found, nullptr, 0, 1, 2.0 + 2e-10, 2.0);
    EXPECT_EQ(found.Count(), 2);
}

TEST(LineCrossing, ParallelSegmentsDoNotCross)
{
    CrossingRecord parallel{0, 0, 0, 0.0, 1.0, 1.0, 3.0, 2.0, 4.0};
    EXPECT_FALSE(InterpolateCrossing(parallel));
    EXPECT_EQ(parallel.x, 0.0);
}

}  // namespace

namespace {

TEST(SensitivityResultGrid, CheapestStrategyHasNoMarginalValueAndTheGridReadsBack)
{
    Lines lines({{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}});
    for (int t = 0; t <= 4; ++t) {
        lines.grid->Cell(0, t) = ValueTriple{10.0, 1.0, 0.0};
        lines.grid->Cell(1, t) = ValueTriple{30.0 + t, 2.0, 0.0};
    }
    double marginal[5];
    lines.grid->MarginalCEByStep(0, marginal, 3);
    for (double m : marginal)
        EXPECT_EQ(m, SensitivityResultGrid::kNoValue);
    lines.grid->MarginalCEByStep(1, marginal, 3);
    EXPECT_DOUBLE_EQ(marginal[4], 24.0);

    MemoryStream out(100);
    lines.grid->Serialize(out);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    SensitivityResultGrid read;
    read.Serialize(in);
    ASSERT_EQ(read.CellCount(), 10);
    EXPECT_EQ(read.Cell(1, 3).cost, 33.0);
    // A damaged count is refused instead of sizing the cells from it.
    std::vector<uint8_t> bytes(out.Data(), out.Data() + out.Position());
    bytes[7] = 0x7F;
    MemoryStream damaged(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    SensitivityResultGrid refused;
    refused.Serialize(damaged);
    EXPECT_EQ(refused.CellCount(), 0);
    EXPECT_TRUE(damaged.HasFormatError());
}

// Per step: the label on the first row, increments against the cheaper strategy, "(Dominated)" for a dearer
// and less effective one, and a spacer row.
TEST(SensitivityResultGrid, CostEffectivenessTableByStep)
{
    Lines lines({{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}});
    lines.grid->Cell(0, 0) = ValueTriple{10.0, 1.0, 0.0};
    lines.grid->Cell(1, 0) = ValueTriple{30.0, 2.0, 0.0};
    lines.grid->Cell(0, 1) = ValueTriple{10.0, 2.0, 0.0};
    lines.grid->Cell(1, 1) = ValueTriple{30.0, 1.0, 0.0};
    NumericFormat plain(true);
    plain.unitsKind = NumericFormat::UnitsNone;
    plain.commas = 0;
    plain.axisDigits = 1;
    NameList names;
    names.AddText("A");
    names.AddText("B");
    TextReport report;
    lines.grid->CEOptimalByStep(report, "x", &names, CEFormats{plain, plain, plain}, 0, 1);
    ASSERT_EQ(report.Lines().Count(), 3);
    EXPECT_STREQ(report.Lines().At(0)->Text(), "1\tA\t10.0\t\t2.0\t\t5.0\t");
    EXPECT_STREQ(report.Lines().At(1)->Text(), "   \tB\t30.0\t\t1.0\t\t30.0\t(Dominated)");
    EXPECT_STREQ(report.Lines().At(2)->Text(), "   ");
    TextReport both;
    lines.grid->CEOptimalByStep(both, "x", &names, CEFormats{plain, plain, plain}, 0);
    EXPECT_STREQ(both.Lines().At(1)->Text(), "   \tB\t30.0\t20.0\t2.0\t1.0\t15.0\t20.0");
}

TEST(SensitivityResultGrid, AxisFormatFitsTheRange)
{
    // The places the low end and the step need, at least the format's own when unscaled.
    const struct {
        double low, high;
        int intervals;
        int own;
        int chopOff, places;
    } cases[] = {{0, 5, 10, 0, 0, 1},          {0, 1, 4, 0, 0, 2},           {0.3, 0.7, 4, 0, 0, 1},
                 {0, 100, 4, 2, 0, 2},         {0, 1, 3, 0, 0, 4},           {20000, 50000, 10, 2, 3, 0},
                 {2e6, 3e6, 4, 0, 6, 2},       {12.5, 20, 3, 0, 0, 1}};
    for (const auto& c : cases) {
        NumericFormat format(true);
        format.expValDigits = static_cast<uint8_t>(c.own);
        AutoFormatForRange(format, c.low, c.high, c.intervals);
        EXPECT_EQ(format.chopOff, c.chopOff) << c.low << ".." << c.high;
        EXPECT_EQ(format.axisDigits, c.places) << c.low << ".." << c.high;
    }
}

}  // namespace
