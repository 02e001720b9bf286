// Distributions drawn anew at each cycle of an individual's Markov walk while a trial samples.

#include "analysis/MarkovCohort.h"
#include "foundation/RandomGenerator.h"
#include "foundation/UniformRandom.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "formula/RunOutcome.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr uint32_t kSeed = 7;
constexpr int kCycles = 4;

// Record 1: Uniform 0 .. 100 (expected value 50).
DistributionRecord* AddUniform(TreeDocument& document, int32_t resampleEachStage)
{
    DistributionRecord* record = AddUniform(document, 1, "0", "100");
    record->resampleEachStage = resampleEachStage;
    return record;
}

// One absorbing state that stays until "_stage >= 4"; every reward reads DistSamp(1), so the total is the
// draw at the start plus the draws seen at stages 1 .. 4 (the last one by the final reward).
struct ResampleModel {
    ResampleModel()
    {
        char termination[32];
        std::snprintf(termination, sizeof termination, "_stage >= %d", kCycles);
        model.reset(new MarkovTestTree(termination));
        model->State(TerminalNode, "Alive", "1", "DistSamp(1)", "DistSamp(1)", "DistSamp(1)");
        model->Document().CalcPrefs.MarkovMonteFastTerm = 0;
    }
    TreeDocument& Document() { return model->Document(); }
    std::unique_ptr<MarkovTestTree> model;
};

struct ResampleCase {
    int32_t resampleEachStage;
    int32_t resample;
    const char* expectation;
};

TEST(MarkovIndividualResample, PerCycleDrawsFollowTheSeededSequence)
{
    const ResampleCase cases[] = {
        {1, 1, "a new draw each cycle"},
        {0, 1, "the trial's draw throughout"},
        {1, 0, "the expected value throughout"},
    };
    for (const ResampleCase& row : cases) {
        ResampleModel model;
        DistributionRecord* record = AddUniform(model.Document(), row.resampleEachStage);
        RunFault fault;

        // The seeded sequence: the trial's draw, the walk's choice of the first state, one draw per cycle.
        SeedRandom(kSeed);
        record->Sample(&fault);
        double draws[kCycles + 1] = {record->sampleValue};
        UniformRandom(0.0, 1.0);
        for (int cycle = 1; cycle <= kCycles; ++cycle) {
            record->Sample(&fault);
            draws[cycle] = record->sampleValue;
        }
        ASSERT_FALSE(fault);
        for (int cycle = 1; cycle <= kCycles; ++cycle)
            EXPECT_NE(draws[cycle], draws[cycle - 1]) << "seed gives repeated draws";

        SeedRandom(kSeed);
        record->Sample(&fault);
        model.Document().CalcStateRecord.resample = row.resample;
        RunFault error;
        const double total = SimulateMarkovIndividual(model.model->markov, &error);
        ASSERT_FALSE(error) << row.expectation;

        double expected = 0.0;
        double lastDraw = draws[0];
        if (row.resample == 0) {
            expected = 50.0 * (kCycles + 1);
        } else if (row.resampleEachStage == 0) {
            expected = draws[0] * (kCycles + 1);
        } else {
            for (double draw : draws)
                expected += draw;
            lastDraw = draws[kCycles];
        }
        EXPECT_NEAR(total, expected, 1e-9) << row.expectation;
        EXPECT_EQ(record->sampleValue, lastDraw) << row.expectation;
        // The switch stays as the trial set it, also when no distribution is drawn per cycle.
        EXPECT_EQ(model.Document().CalcStateRecord.resample, row.resample) << row.expectation;
    }
}

TEST(MarkovIndividualResample, OnlyMarkedRecordsAreDrawnAgain)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    DistributionRecord* fixed = AddUniform(document, 0);
    DistributionRecord* cycled = AddUniform(document, 1);
    cycled->index = 2;
    RunFault fault;
    SeedRandom(kSeed);
    fixed->Sample(&fault);
    cycled->Sample(&fault);
    const double fixedDraw = fixed->sampleValue;
    const double cycledDraw = cycled->sampleValue;
    EXPECT_EQ(document.Distributions.ResampleEachStage(&fault), 1);
    EXPECT_FALSE(fault);
    EXPECT_EQ(fixed->sampleValue, fixedDraw);
    EXPECT_NE(cycled->sampleValue, cycledDraw);
    cycled->resampleEachStage = 0;
    EXPECT_EQ(document.Distributions.ResampleEachStage(&fault), 0);
}

TEST(MarkovIndividualResample, AFailedDrawEndsTheWalk)
{
    MarkovTestTree model("_stage >= 3");
    model.State(TerminalNode, "Alive", "1");
    TreeDocument& document = model.Document();
    document.CalcPrefs.MarkovMonteFastTerm = 0;
    auto* record = new DistributionRecord;
    record->index = 4;
    record->tableName = "NoSuchTable";
    record->tableKey = "NOSUCHTABLE";
    record->resampleEachStage = 1;
    document.Distributions.InsertSorted(record);
    document.CalcStateRecord.resample = 1;

    MessageBoxRecorder boxes;
    RunFault error;
    SimulateMarkovIndividual(model.markov, &error);
    EXPECT_TRUE(error);
    EXPECT_EQ(record->hasSample, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The table \"NoSuchTable\"was not found, and cannot be used as a distribution.");
    // The tunnel and run state are cleaned up as after any other failure.
    EXPECT_EQ(model.markov->childCount, 1);
}

}  // namespace
