// Monte Carlo trials over a small tree with one uniform distribution and a fixed key.

#include "analysis/MonteCarloSimulation.h"
#include "analysis/RollBack.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "formula/Distribution.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/analysis/SimulatedTree.h"

#include <gtest/gtest.h>

namespace {

void RunAll(MonteCarloSimulation& simulation, int stopAfter = -1)
{
    simulation.Begin();
    for (int k = 0; k != stopAfter && !simulation.RunTrial(); ++k) {
    }
    simulation.End();
}

TEST(MonteCarloSimulation, FixedKeyReproducesTrialsNearTheRolledBackValue)
{
    MessageBoxRecorder boxes;
    MonteCarloSettings settings;
    settings.trials = 2000;
    settings.seed = 1000;
    std::vector<double> firstRun;
    for (int run = 0; run < 2; ++run) {
        SimulatedTree tree;
        MonteCarloSimulation simulation(tree.risky);
        ASSERT_TRUE(simulation.Setup(settings));
        RunAll(simulation);
        ASSERT_FALSE(simulation.error);
        ASSERT_EQ(simulation.RecordCount(), 2000);
        std::vector<double> values;
        for (int i = 0; i < simulation.RecordCount(); ++i)
            values.push_back(simulation.RecordAt(i).value);
        if (run == 0)
            firstRun = values;
        else
            EXPECT_EQ(values, firstRun);
        // Mean 30, standard deviation of one trial about 28.6, so of the mean about 0.64.
        const OutcomeStatistics stats = simulation.Statistics(ComponentValue);
        EXPECT_NEAR(stats.mean, 30.0, 2.5);
        EXPECT_GE(stats.minimum, 0.0);
        EXPECT_LE(stats.maximum, 100.0);
        EXPECT_EQ(simulation.RecordAt(0).samples.size(), 1u);
    }
}

TEST(MonteCarloSimulation, OptimalPathPerTrialAndUnsampledRuns)
{
    MessageBoxRecorder boxes;
    struct Case {
        int16_t samplingMode;
        int stopAfter;
        bool expectReevaluated;
    };
    const Case cases[] = {{SampleAll, -1, true}, {SampleNone, -1, false}, {SampleAll, 40, true}};
    for (const Case& c : cases) {
        SimulatedTree tree;
        MonteCarloSimulation simulation(tree.tree.Root());
        MonteCarloSettings settings;
        settings.trials = 200;
        settings.seed = 3;
        settings.reevaluatePath = 1;
        settings.samplingMode = c.samplingMode;
        ASSERT_TRUE(simulation.Setup(settings));
        RunAll(simulation, c.stopAfter);
        ASSERT_FALSE(simulation.error);
        EXPECT_EQ(simulation.reevaluatePath, c.expectReevaluated);
        const int n = simulation.RecordCount();
        EXPECT_EQ(n, c.stopAfter > 0 ? c.stopAfter : 200);
        double total = 0.0;
        for (int i = 0; i < simulation.outcomes.Count(); ++i)
            total += simulation.outcomes.OutcomeAt(i)->probability;
        EXPECT_NEAR(total, 1.0, 1e-9);
        int risky = 0;
        int safe = 0;
        for (int i = 0; i < n; ++i) {
            const MonteCarloTrialRecord& record = simulation.RecordAt(i);
            risky += record.optimalIndex == 0;
            safe += record.optimalIndex == 1;
            // Unsampled, the draw is the distribution's mean: the fixed optimal path is Risky.
            if (c.samplingMode == SampleNone) {
                EXPECT_TRUE(record.value == 50.0 || record.value == 10.0) << record.value;
            }
            // The trial follows the option chosen by that trial's roll back.
            if (record.optimalIndex == 1) {
                EXPECT_EQ(record.value, 25.0);
            }
        }
        if (c.expectReevaluated) {
            EXPECT_EQ(risky + safe, n);
            EXPECT_GT(risky, 0);
            EXPECT_GT(safe, 0);
        } else {
            EXPECT_EQ(risky + safe, 0);
        }
    }
}

TEST(MonteCarloSimulation, StoredRecordReadsBackAndDescribes)
{
    SimulatedTree tree;
    MonteCarloSettings settings;
    settings.trials = 250;
    settings.seed = 77;
    settings.reevaluatePath = 1;
    settings.samplingMode = SampleChosen;
    settings.chosen = {1, 4};
    StoredAnalysis* record = MakeMonteCarloRecord(tree.risky, settings);
    MonteCarloSettings read;
    EXPECT_EQ(ReadMonteCarloRecord(&tree.tree.Document(), record, read), tree.risky);
    EXPECT_EQ(read.trials, 250);
    EXPECT_EQ(read.seed, 77);
    EXPECT_EQ(read.reevaluatePath, 1);
    EXPECT_EQ(read.samplingMode, SampleChosen);
    EXPECT_EQ(read.chosen, settings.chosen);
    zString text;
    DescribeStoredAnalysis(&tree.tree.Document(), record, text);
    EXPECT_STREQ(text.Text(), "Monte Carlo Simulation\r\nat Risky\r\n250 Trials");
    StoredAnalysis::Delete(record);

    // Older records end after the indices; a count beyond the list, or a path that does not resolve, fits nothing.
    struct Case {
        std::vector<const char*> parameters;
        bool fits;
        const char* description;
    };
    const Case cases[] = {
        {{"@0,", "30", "0", "1", "1"}, true, "Monte Carlo Simulation\r\nat Risky\r\n30 Trials"},
        {{"@0,", "30", "0", "5", "1"}, false, "Monte Carlo Simulation\r\nat (Unknown)\r\n30 Trials"},
        {{"@7,", "30", "0", "0", "1", "9"}, false, "Monte Carlo Simulation\r\nat (Unknown)\r\n30 Trials"},
    };
    for (const Case& c : cases) {
        StoredAnalysis* stored = StoredAnalysis::New();
        stored->kind = MonteCarloKind;
        for (const char* parameter : c.parameters)
            stored->parameters->AddCopy(zString(parameter));
        MonteCarloSettings old;
        EXPECT_EQ(ReadMonteCarloRecord(&tree.tree.Document(), stored, old) != nullptr, c.fits);
        if (c.fits) {
            EXPECT_EQ(old.samplingMode, SampleChosen);
            EXPECT_EQ(old.seed, 0);
            EXPECT_EQ(old.chosen, std::vector<int32_t>{1});
        }
        DescribeStoredAnalysis(&tree.tree.Document(), stored, text);
        EXPECT_STREQ(text.Text(), c.description);
        StoredAnalysis::Delete(stored);
    }
}

}  // namespace
