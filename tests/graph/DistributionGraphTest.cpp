// Comparative distributions: several nodes' outcomes as lines over one value axis, recomputed with the axis,
// stepped in by "Animate", saved and reopened.

#include "graph/DistributionGraph.h"
#include "tests/graph/BarGraphFixture.h"
#include "tests/support/PumpMessages.h"

namespace {

using ComparativeDistributions = BarGraphFixture;

double Sum(const std::vector<double>& values, size_t count)
{
    double sum = 0.0;
    for (size_t i = 0; i < count && i < values.size(); ++i)
        sum += values[i];
    return sum;
}

TEST(ComparativeDistributionIntervals, RequestsBecomeSixToEighteen)
{
    const struct {
        int requested;
        int effective;
    } cases[] = {{5, 6}, {6, 18}, {7, 16}, {9, 12}, {10, 10}, {16, 16}, {20, 16}};
    for (const auto& row : cases)
        EXPECT_EQ(DistributionGraph::EffectiveIntervals(row.requested), row.effective) << row.requested;
}

// Each line holds its node's probabilities per interval of the axis, and a finer axis recomputes them all; one too fine for 150 bars is refused with its message.
TEST_F(ComparativeDistributions, LinesFollowTheAxisInterval)
{
    Distribution({Chance("A", {10, 20, 30, 40}), Chance("B", {10, 10, 40, 40})});
    auto* graph = Newest<DistributionGraph>();
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(graph->LineCount(), 2);
    EXPECT_EQ(graph->legendTexts.Label(1)->text, "B");
    for (int i = 0; i < 2; ++i) {
        const std::vector<double>& values = graph->Line(i).values;
        EXPECT_EQ(values.size(), static_cast<size_t>(graph->axisIntervals + 1));
        EXPECT_NEAR(Sum(values, values.size()), 1.0, 1e-12);
    }
    EXPECT_EQ(graph->Line(0).markKind + 1, graph->Line(1).markKind);

    graph->horizontalAxis.valueBottom = 0.0;
    graph->horizontalAxis.valueTop = 50.0;
    graph->horizontalAxis.interval = 5.0;
    ASSERT_EQ(graph->AxisChanged(0), 1);
    const std::vector<double>& b = graph->Line(1).values;
    ASSERT_EQ(b.size(), 11u);
    EXPECT_DOUBLE_EQ(b[2], 0.5);
    EXPECT_DOUBLE_EQ(b[8], 0.5);

    graph->horizontalAxis.interval = 0.1;
    EXPECT_EQ(graph->AxisChanged(0), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "Probability Distribution Error");
    EXPECT_EQ(boxes.Last().text, "The data cannot be graphed using that interval. Try a larger interval.");
    EXPECT_EQ(graph->Line(1).values.size(), 11u);
}

// "Animate" shows the lines one after another every 350 ms, ends on the last step with its timer gone, and a
// click while it runs does not start it again.
TEST_F(ComparativeDistributions, AnimateStepsThroughTheLinesAndStopsOnTheLast)
{
    Distribution({Chance("A", {1, 2}), Chance("B", {2, 3}), Chance("C", {1, 3})});
    auto* graph = Newest<DistributionGraph>();
    ASSERT_NE(graph, nullptr);
    StepAnimationStrip& strip = *graph->Strip();
    EXPECT_EQ(graph->currentStep, 2);
    const DWORD begun = GetTickCount();
    strip.Animate();
    std::vector<int> seen;
    ASSERT_TRUE(PumpMessagesUntil([&] {
        if (seen.empty() || seen.back() != graph->currentStep) {
            seen.push_back(graph->currentStep);
            if (graph->currentStep == 1)
                strip.Animate();
            EXPECT_EQ(strip.ScrollPosition(), graph->currentStep);
        }
        return !strip.Animating();
    }));
    EXPECT_GE(GetTickCount() - begun, 3 * StepAnimationStrip::TickMilliseconds - 100);
    EXPECT_EQ(seen, (std::vector<int>{2, 0, 1, 2}));
    const std::vector<uint8_t> everyLine = Picture(*graph);
    strip.ShowStep(0);
    EXPECT_NE(Picture(*graph), everyLine);
}

TEST_F(ComparativeDistributions, SavedAndReopenedSavesTheSameBytes)
{
    Distribution({Chance("A", {10, 20, 30}), Chance("B", {15, 25})});
    EXPECT_TRUE(SavesAfterReopeningTheSame(Newest<DistributionGraph>(), "comparative"));
    EXPECT_EQ(boxes.Count(), 0u);
}

// The shown lines close the file: a count or an index outside the lines, or past the end, refuses the file.
TEST_F(ComparativeDistributions, ShownLinesOutsideTheListRefuseTheFile)
{
    Distribution({Chance("A", {1, 2}), Chance("B", {2, 3})});
    DistributionGraph* graph = Newest<DistributionGraph>();
    const std::string path = TempPath("comparative_damaged.grf");
    Save(graph, path);
    delete graph;
    const std::vector<uint8_t> good = FileBytes(path);
    ASSERT_GT(good.size(), 12u);
    const size_t count = good.size() - 12;
    const struct {
        size_t at;
        uint8_t value;
    } damages[] = {{count, 3}, {count, 0xFF}, {good.size() - 4, 2}};
    for (const auto& damage : damages) {
        std::vector<uint8_t> bytes = good;
        bytes[damage.at] = damage.value;
        WriteBytes(path, bytes);
        boxes.Clear();
        EXPECT_EQ(OpenFile<DistributionGraph>(path), nullptr) << damage.at;
        EXPECT_EQ(boxes.Count(), 1u);
    }
    std::remove(path.c_str());
}

}  // namespace
