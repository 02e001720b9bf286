// Over/under: the probability above and below a target, its stored record and its re-run.

#include "analysis/OverUnderAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A chance node with outcomes 10, 20, 30 at 0.2, 0.5, 0.3.
struct ThreeOutcomes {
    TreeBuilder tree;
    TreeNode* chance;
    std::vector<OverUnderResult> shown;
    OverUnderPresenter saved;

    ThreeOutcomes()
    {
        chance = tree.Add(tree.Root(), ChanceNode, "Outcome");
        tree.Terminal(chance, "Low", "0.2", "10");
        tree.Terminal(chance, "Mid", "0.5", "20");
        tree.Terminal(chance, "High", "0.3", "30");
        saved = SetOverUnderPresenter([this](const OverUnderResult& result) { shown.push_back(result); });
    }
    ~ThreeOutcomes() { SetOverUnderPresenter(saved); }

    OverUnderRequest Compute(TreeNode* node, double target, int countsAbove, bool rerun = false)
    {
        OverUnderRequest request;
        request.node = node;
        request.target = target;
        request.targetCountsAbove = countsAbove;
        OverUnderCompute(request, rerun);
        return request;
    }
};

TEST(OverUnder, TargetSideAndLabels)
{
    struct Case {
        int countsAbove;
        double above;
        const char* aboveLabel;
        const char* belowLabel;
    };
    const Case cases[] = {
        {0, 0.3, "Probability above target:", "Probability at or below target:"},
        {1, 0.8, "Probability at or above target:", "Probability below target:"},
    };
    for (const Case& c : cases) {
        ThreeOutcomes setup;
        const OverUnderRequest request = setup.Compute(setup.chance, 20, c.countsAbove);
        EXPECT_NEAR(request.probabilityAbove, c.above, 1e-12);
        ASSERT_EQ(setup.shown.size(), 1u);
        EXPECT_STREQ(setup.shown[0].aboveLabel.Text(), c.aboveLabel);
        EXPECT_STREQ(setup.shown[0].belowLabel.Text(), c.belowLabel);
        EXPECT_NEAR(std::stod(setup.shown[0].above.Text()) + std::stod(setup.shown[0].below.Text()), 1.0, 1e-9);
    }
}

TEST(OverUnder, OnlyTheOptimalStrategyIsVisited)
{
    // A decision between a gamble (0.5 -> 40, 0.5 -> 0) and a sure 10: the sure 10 lies off the strategy.
    ThreeOutcomes setup;
    TreeNode* decision = setup.tree.Add(setup.chance->parent, DecisionNode, "Choice");
    TreeNode* gamble = setup.tree.Add(decision, ChanceNode, "Gamble");
    setup.tree.Terminal(gamble, "Win", "0.5", "40");
    setup.tree.Terminal(gamble, "Lose", "0.5", "0");
    setup.tree.Terminal(decision, "Sure", "", "10");
    EXPECT_NEAR(setup.Compute(decision, 5, 0).probabilityAbove, 0.5, 1e-12);
}

TEST(OverUnder, StoredRecordDescribedAndRunAgain)
{
    ThreeOutcomes setup;
    TreeDocument& document = setup.tree.Document();
    setup.Compute(setup.chance, 20.25, 0);
    StoredAnalysis* record = document.LastAnalysis;
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->kind, OverUnderKind);
    EXPECT_STREQ(record->parameters->At(1)->Text(), "20.25");
    EXPECT_STREQ(record->parameters->At(2)->Text(), "0");
    zString text;
    DescribeStoredAnalysis(&document, record, text);
    EXPECT_STREQ(text.Text(), "Over/Under at node\r\nOutcome\r\nTarget: 20.25");

    // A re-run presents again and leaves the last analysis as it was.
    RunStoredAnalysis(record, &document);
    EXPECT_EQ(setup.shown.size(), 2u);
    EXPECT_EQ(document.LastAnalysis, record);

    // A path that no longer resolves, or a record cut short, does nothing.
    StoredAnalysis* stale = record->Clone();
    zString missing("@0,7,");
    *stale->parameters->At(0) = missing;
    RunStoredAnalysis(stale, &document);
    StoredAnalysis* shortRecord = record->Clone();
    shortRecord->parameters->DeleteAt(2);
    RunStoredAnalysis(shortRecord, &document);
    EXPECT_EQ(setup.shown.size(), 2u);
    StoredAnalysis::Delete(stale);
    StoredAnalysis::Delete(shortRecord);
}

}  // namespace
