// DistSamp in the formulas of a tree: the tree window's numbered distributions, their errors and messages.

#include "foundation/RandomGenerator.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "model/EvalContext.h"
#include "formula/FormulaRef.h"
#include "formula/RunOutcome.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Record n of the window: a distribution of type with the given parameter formulas.
DistributionRecord* AddRecord(TreeDocument& document, int index, int type, std::vector<const char*> parameters)
{
    auto* record = new DistributionRecord;
    record->index = index;
    Distribution* distribution = MakeDistribution(type);
    for (size_t i = 0; i < parameters.size(); ++i)
        distribution->Parameter(static_cast<int>(i))->SetText(parameters[i]);
    record->SetDistribution(distribution);
    record->SetOwner(&document);
    document.Distributions.InsertSorted(record);
    return record;
}

struct Outcome {
    double value;
    int error;
};

Outcome Evaluate(TreeDocument& document, TreeNode* node, const char* text)
{
    FormulaRef handle(new EvalContext(&document, node), 1, "payoff");
    const double value = handle.EvaluateText(text);
    return {value, handle.ErrorCode()};
}

TEST(TreeDistributions, DistSampReadsTheWindowsList)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    tree.Bind(tree.Root(), "m", "10");
    TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "0");
    AddRecord(document, 2, 1, {"m", "2"});      // Normal, mean from a variable
    AddRecord(document, 5, 2, {"1", "3"});      // Uniform 1 .. 3
    AddRecord(document, 8, 2, {"1", "nowhere"});  // a parameter naming no variable
    AddRecord(document, 7, 2, {"3", "m-9"});    // Uniform whose high value is below the low one

    struct Row {
        const char* text;
        double value;
        int error;
    };
    const Row rows[] = {
        {"DistSamp(2)", 10, 0},
        {"DistSamp(5) * 2", 4, 0},
        {"DistSamp(4)", 0, 17},
        {"DistSamp(7)", 0, 18},
        {"DistSamp(8)", 0, 18},
        {"Dist(dNormal; 1; 3)", 0, 19},
        {"Dist(dLinear; 1; 2; 4)", 3, 0},
    };
    MessageBoxRecorder boxes;
    for (const Row& row : rows) {
        const Outcome outcome = Evaluate(document, leaf, row.text);
        EXPECT_EQ(outcome.error, row.error) << row.text;
        if (row.error == 0) {
            EXPECT_DOUBLE_EQ(outcome.value, row.value) << row.text;
        }
    }
}

TEST(TreeDistributions, ErrorMessagesNameTheIndex)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "0");
    AddRecord(document, 3, 2, {"2", "1"});
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"DistSamp(9)", "Undefined distribution index DistSamp(9)."},
        {"DistSamp(3)", "Invalid distribution: DistSamp(3)."},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        FormulaRef handle(new EvalContext(&document, leaf), 1, "payoff");
        handle.EvaluateText(row.text);
        ASSERT_TRUE(handle.HasError()) << row.text;
        boxes.Clear();
        handle.ShowError(nullptr, 0);
        ASSERT_GE(boxes.Count(), 1u) << row.text;
        EXPECT_NE(boxes.Last().text.find(row.message), std::string::npos) << boxes.Last().text;
    }
}

TEST(TreeDistributions, ResamplingGivesTheCurrentDraw)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "0");
    DistributionRecord* record = AddRecord(document, 1, 2, {"0", "100"});
    document.CalcStateRecord.resample = 1;
    MessageBoxRecorder boxes;
    EXPECT_EQ(Evaluate(document, leaf, "DistSamp(1)").error, 18);  // nothing drawn yet
    SeedRandom(3);
    RunFault fault;
    record->Sample(&fault);
    ASSERT_FALSE(fault);
    const double draw = record->sampleValue;
    const Outcome sampled = Evaluate(document, leaf, "DistSamp(1)");
    EXPECT_EQ(sampled.error, 0);
    EXPECT_EQ(sampled.value, draw);
    document.CalcStateRecord.resample = 0;
    EXPECT_DOUBLE_EQ(Evaluate(document, leaf, "DistSamp(1)").value, 50.0);
}

// Each distribution draws once, in index order, until one fails: the ones after it keep no draw.
TEST(TreeDistributions, ApplyToDistributionsDrawsUntilOneFails)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    DistributionRecord* uniform = AddRecord(document, 4, 2, {"10", "20"});
    DistributionRecord* unsampled = AddRecord(document, 6, 2, {"0", "2"});
    unsampled->sampled = 0;
    DistributionRecord* failing = AddRecord(document, 7, 1, {"0", "-1"});
    DistributionRecord* last = AddRecord(document, 9, 2, {"0", "1"});
    EXPECT_EQ(document.FindDistributionByIndex(7), failing);
    EXPECT_EQ(document.FindDistributionByIndex(5), nullptr);
    MessageBoxRecorder boxes;
    RunFault fault;
    document.ApplyToDistributions(&fault);
    EXPECT_EQ(fault.Code(), OutcomeCode::DistributionParameterInvalid);
    EXPECT_EQ(uniform->hasSample, 1);
    EXPECT_TRUE(uniform->sampleValue >= 10 && uniform->sampleValue <= 20);
    EXPECT_EQ(unsampled->sampleValue, 1.0);
    EXPECT_EQ(last->hasSample, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Invalid parameter (Std Dev) in Normal distribution: must be greater than zero.");

    // With every parameter sound, every one draws.
    failing->GetDistribution()->Parameter(1)->SetText("1");
    fault.Clear();
    document.ApplyToDistributions(&fault);
    EXPECT_FALSE(fault);
    EXPECT_EQ(last->hasSample, 1);
}

TEST(TreeDistributions, ParameterReferringToItsOwnRecordIsRecursive)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "0");
    DistributionRecord* self = AddRecord(document, 3, 1, {"DistSamp(3)", "1"});
    AddRecord(document, 4, 1, {"DistSamp(5)+1", "1"});
    AddRecord(document, 5, 1, {"DistSamp(4)", "1"});
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"DistSamp(3)", "Distribution index 3 has a recursive parameter."},
        {"DistSamp(4)", "Distribution index 4 has a recursive parameter."},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        const Outcome outcome = Evaluate(document, leaf, row.text);
        EXPECT_EQ(outcome.error, 18) << row.text;
        bool shown = false;
        for (const auto& box : boxes.Boxes())
            shown = shown || box.text == row.message;
        EXPECT_TRUE(shown) << row.text;
        EXPECT_EQ(self->busy, 0) << row.text;
    }
}

// A caller tells why a distribution failed by its code alone: the draws before the trials, a formula
// that names the distribution and the run's outcome all give the same one.
TEST(TreeDistributions, FailuresAreToldApartByCode)
{
    struct Row {
        int type;
        std::vector<const char*> parameters;
        OutcomeCode code;
    };
    const Row rows[] = {
        {1, {"DistSamp(1)", "1"}, OutcomeCode::DistributionRecursive},
        {16, {"NoSuchTable"}, OutcomeCode::DistributionTableMissing},
        {2, {"3", "1"}, OutcomeCode::DistributionParameterInvalid},
        // Outside the trials DistSamp gives the mean, which is checked like a draw.
        {1, {"0", "-1"}, OutcomeCode::DistributionParameterInvalid},
        {15, {"1", "0"}, OutcomeCode::DistributionParameterInvalid},
        {1, {"1/0", "1"}, OutcomeCode::FormulaFailed},
    };
    for (const Row& row : rows) {
        TreeBuilder tree;
        TreeDocument& document = tree.Document();
        TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "0");
        AddRecord(document, 1, row.type, row.parameters);
        OutcomeScope scope;
        RunFault fault;
        document.ApplyToDistributions(&fault);
        EXPECT_EQ(fault.Code(), row.code) << row.parameters[0];
        FormulaRef handle(new EvalContext(&document, leaf), 1, "payoff");
        handle.EvaluateText("DistSamp(1) + 1");
        EXPECT_EQ(handle.FailureCode(), row.code) << row.parameters[0];
        EXPECT_EQ(scope.Outcome().code, row.code) << row.parameters[0];
    }
}

}  // namespace
