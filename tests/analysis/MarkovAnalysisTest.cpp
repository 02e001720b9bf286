// The Markov analysis: stage rows, graph data and the full text report, run end to end on a tree.

#include "analysis/MarkovAnalysis.h"
#include "analysis/RollBackAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "foundation/TextReport.h"
#include "script/ScriptManager.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

// Well/Dead with death 0.5 and a transition reward 10 on death; stops at stage 4.
//   cycle 1: Well 1 -> 0.5 (deaths 0.5, reward 5), stage = initial 0.5 + 5
//   cycle 2: 0.5 -> 0.25, stage = incremental 0.5 + 2.5; cycle 3: 0.25 + 1.25; cycle 4: 0.125 + 0.625
//   last row: final 2 * 0.0625
struct ReportModel {
    ReportModel() : model("_stage >= 4")
    {
        model.WellDead("0.5", "0.5", "2");
        model.die->SetMarkovTransitionReward("10", 0);
    }
    MarkovTestTree model;
};

std::unique_ptr<MarkovAnalysis> RunAnalysis(MarkovTestTree& model, int kind = 0)
{
    auto analysis = std::make_unique<MarkovAnalysis>(&model.Document(), model.markov, kind);
    EXPECT_TRUE(analysis->Run());
    return analysis;
}

TEST(MarkovAnalysisRows, OneRowPerCycleAndALastRow)
{
    ReportModel setup;
    auto analysis = RunAnalysis(setup.model);
    ASSERT_EQ(analysis->rows.Count(), 5);
    EXPECT_EQ(analysis->lastStage, 4);
    const double stages[5] = {5.5, 3.0, 1.5, 0.75, 0.125};
    const double wells[5] = {1.0, 0.5, 0.25, 0.125, 0.0625};
    double total = 0.0;
    for (int r = 0; r < 5; ++r) {
        total += stages[r];
        EXPECT_NEAR(analysis->rows.At(r)->stage.value, stages[r], 1e-12) << r;
        EXPECT_NEAR(analysis->rows.At(r)->total.value, total, 1e-12) << r;
        EXPECT_NEAR(analysis->rows.At(r)->At(0)->probability, wells[r], 1e-12) << r;
    }
    EXPECT_NEAR(setup.model.markov->ExpectedValue(), total, 1e-12);
    EXPECT_EQ(analysis->stateNames.Count(), 2);
    EXPECT_STREQ(analysis->stateNames.At(1)->Text(), "Dead");
    // From the menu the run leaves a node-value record of command 1603 for the node.
    ASSERT_NE(setup.model.Document().LastAnalysis, nullptr);
    EXPECT_EQ(setup.model.Document().LastAnalysis->kind, NodeValuesKind);
    EXPECT_STREQ(setup.model.Document().LastAnalysis->parameters->At(0)->Text(), "1603");
    EXPECT_STREQ(setup.model.Document().LastAnalysis->parameters->At(2)->Text(), "@0,");
}

// A run that fails keeps what happened and the person still sees its box, once.
TEST(MarkovAnalysisRows, AFailedRunShowsItsFormulaErrorOnce)
{
    MessageBoxRecorder boxes;
    MarkovTestTree model("_stage >= 4");
    model.WellDead("1 / 0");
    MarkovAnalysis analysis(&model.Document(), model.markov, 0);
    EXPECT_FALSE(analysis.Run());
    EXPECT_EQ(analysis.outcome.code, OutcomeCode::FormulaFailed);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, analysis.outcome.text.Text());
    EXPECT_EQ(boxes.Last().text.rfind("Division by zero.", 0), 0u);
}

// A death probability that changes with the stage gives the same rows right after the Roll Back command
// (which marks the tree rolled back) as on a fresh tree: Well shares 0.9, 0.81, 0.405, 0.2025.
TEST(MarkovAnalysisRows, SameNumbersRightAfterRollBack)
{
    MessageBoxRecorder boxes;
    const double wells[5] = {1.0, 0.9, 0.81, 0.405, 0.2025};
    for (int rollBackFirst = 0; rollBackFirst <= 1; ++rollBackFirst) {
        MarkovTestTree model("_stage >= 4");
        model.WellDead("If(_stage<2; 0.1; 0.5)");
        if (rollBackFirst) {
            RunAnalysis(std::make_unique<RollBackAnalysis>(&model.Document()));
            ASSERT_EQ(model.Document().RolledBack, RolledBackValues::Computed);
        }
        auto analysis = RunAnalysis(model);
        ASSERT_EQ(analysis->rows.Count(), 5) << rollBackFirst;
        for (int r = 0; r < 5; ++r)
            EXPECT_NEAR(analysis->rows.At(r)->At(0)->probability, wells[r], 1e-12) << rollBackFirst << " " << r;
        EXPECT_NEAR(analysis->rows.At(4)->total.value, 0.9 + 0.81 + 0.405, 1e-12) << rollBackFirst;
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

// A tunnel state's copies are merged into it: rows and names list the user's states, with the numbers of
// the same model without tunnel cycles. Run on a rolled-back tree, the copies leave it rolled back.
TEST(MarkovAnalysisRows, TunnelCopiesCountForTheirState)
{
    MessageBoxRecorder boxes;
    ReportModel plain;
    auto expected = RunAnalysis(plain.model);
    for (int rollBackFirst = 0; rollBackFirst <= 1; ++rollBackFirst) {
        ReportModel tunnel;
        tunnel.model.well->SetMarkovTunnelCount(2, false);
        if (rollBackFirst)
            RunAnalysis(
                std::make_unique<RollBackAnalysis>(&tunnel.model.Document()));
        auto analysis = RunAnalysis(tunnel.model);
        EXPECT_EQ(tunnel.model.Document().IsRolledBack(), rollBackFirst != 0);
        ASSERT_EQ(analysis->stateNames.Count(), 2);
        EXPECT_STREQ(analysis->stateNames.At(0)->Text(), "Well");
        ASSERT_EQ(analysis->rows.Count(), expected->rows.Count());
        for (int r = 0; r < analysis->rows.Count(); ++r) {
            ASSERT_EQ(analysis->rows.At(r)->Count(), 2) << r;
            for (int state = 0; state < 2; ++state) {
                const MarkovStateEntry* got = analysis->rows.At(r)->At(state);
                const MarkovStateEntry* want = expected->rows.At(r)->At(state);
                EXPECT_NEAR(got->probability, want->probability, 1e-12) << r << " " << state;
                EXPECT_NEAR(got->reward.value, want->reward.value, 1e-12) << r << " " << state;
            }
        }
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(MarkovAnalysisReport, FullTextReport)
{
    ReportModel setup;
    auto analysis = RunAnalysis(setup.model);
    TextReport report;
    analysis->WriteReport(report, ReportEverything);
    EXPECT_EQ(report.ExportText(),
              "KIVO(tm) Markov Analysis\r\n"
              "Shorthand state names:\r\n"
              "S1 = Well\r\n"
              "S2 = Dead\r\n"
              "\r\n"
              "P(Sn) = Probability of being in state n\r\n"
              "r{Sn} = Contribution to _stage_reward from state n\r\n"
              "\r\n"
              "Stage\t_stage_rwd\t_total_rwd\tP(S1)\tP(S2)\tr{S1}\tr{S2}\r\n"
              "0\t5.5\t5.5\t1\t0\t0.5\t5\r\n"
              "1\t3\t8.5\t0.5\t0.5\t0.5\t2.5\r\n"
              "2\t1.5\t10\t0.25\t0.75\t0.25\t1.25\r\n"
              "3\t0.75\t10.75\t0.125\t0.875\t0.125\t0.625\r\n"
              "4\t0.125\t10.875\t0.0625\t0.9375\t0.125\t0\r\n");
    const int widths[] = {40, 65, 65, 60, 60, 60, 60};
    ASSERT_EQ(report.ColumnWidths().Count(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(report.ColumnWidths().At(i), widths[i]);
}

TEST(MarkovAnalysisReport, CostEffectivenessColumnsAreRunningSums)
{
    MarkovTestTree model;
    model.Document().CalcPrefs.CalcMethod = CostEffectivenessMethod;
    model.Document().CalcPrefs.CECostPayoff = 0;
    model.Document().CalcPrefs.CEEffPayoff = 1;
    model.markov->SetMarkovSharedTermination("_stage >= 3");
    TreeNode* alive = model.State(TerminalNode, "Alive", "1", "100", "10", "0");
    MarkovTestTree::SetRewards(alive, "0", "1", "0", 1);
    auto analysis = RunAnalysis(model);
    TextReport report;
    analysis->WriteReport(report, ReportStageRewards | ReportTotalRewards);
    EXPECT_EQ(report.ExportText(),
              "KIVO(tm) Markov Analysis\r\n"
              "\r\n"
              "Stage\tStage Cost\tStage Eff\tNet Cost\tNet Eff\r\n"
              "0\t100\t0\t100\t0\r\n"
              "1\t10\t1\t110\t1\r\n"
              "2\t10\t1\t120\t2\r\n"
              "3\t0\t0\t120\t2\r\n");
    EXPECT_EQ(report.ColumnWidths().Count(), 6);
}

TEST(MarkovAnalysisGraph, RequestsQualifyByRowsAndMode)
{
    ReportModel setup;
    auto analysis = RunAnalysis(setup.model);
    struct Case {
        int command;
        bool made;
        const char* title;
        size_t lines;
    };
    const Case cases[] = {
        {1580, true, "Markov Probability Analysis", 2}, {1581, true, "Markov Reward Per State", 2},
        {1582, true, "Markov Per-Stage Rewards", 1},    {1583, true, "Markov Total Reward", 1},
        {1584, false, "", 0},                           {1585, false, "", 0},
    };
    for (const Case& row : cases) {
        MarkovGraphRequest request;
        ASSERT_TRUE(MarkovAnalysis::RequestForCommand(row.command, request));
        LineGraphData graph;
        EXPECT_EQ(analysis->MakeGraph(request, graph), row.made) << row.command;
        if (!row.made)
            continue;
        EXPECT_EQ(graph.title, row.title);
        EXPECT_EQ(graph.lines.size(), row.lines);
        EXPECT_EQ(graph.lines[0].values.size(), 5u);
        EXPECT_EQ(request.points, 4);
        EXPECT_EQ(graph.horizontal.label, "Stage");
        EXPECT_EQ(graph.horizontal.top, 4.0);
        // Stages are counted, not paid: no currency on their axis.
        EXPECT_TRUE(graph.horizontal.plain);
    }
    MarkovGraphRequest perStage;
    MarkovAnalysis::RequestForCommand(1582, perStage);
    LineGraphData graph;
    ASSERT_TRUE(analysis->MakeGraph(perStage, graph));
    EXPECT_EQ(graph.lines[0].name, "Reward");
    EXPECT_NEAR(graph.lines[0].values.back(), 0.125, 1e-12) << "the last row holds the final rewards";
    EXPECT_TRUE(graph.vertical.autoScale);
    EXPECT_NEAR(graph.vertical.bottom, 0.125, 1e-12);
    EXPECT_NEAR(graph.vertical.top, 5.5, 1e-12);
    MarkovGraphRequest badStep;
    badStep.stageStep = 0;
    EXPECT_FALSE(analysis->MakeGraph(badStep, graph));
    EXPECT_FALSE(MarkovAnalysis::RequestForCommand(2331, badStep));
}

TEST(MarkovAnalysisGraph, ThreeRowsOfferNoGraphButAReport)
{
    MarkovTestTree model("_stage >= 2");
    model.State(TerminalNode, "Alive", "1", "0", "1", "0");
    auto analysis = RunAnalysis(model);
    EXPECT_EQ(analysis->rows.Count(), 3);
    MarkovGraphRequest request;
    LineGraphData graph;
    EXPECT_FALSE(analysis->MakeGraph(request, graph));
    TextReport report;
    analysis->WriteReport(report, ReportEverything);
    EXPECT_EQ(report.Lines().Count(), 3);
}

TEST(MarkovAnalysisStored, RerunShowsStoredGraph)
{
    ReportModel setup;
    std::vector<LineGraphData> shown;
    auto previous = SetLineGraphPresenter([&shown](const LineGraphData& graph) { shown.push_back(graph); });
    MarkovGraphRequest request;
    request.reportKind = 3;
    StoredAnalysis* record = MakeMarkovRecord(setup.model.markov, request);
    RunStoredAnalysis(record, &setup.model.Document());
    SetLineGraphPresenter(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Markov Total Reward");
    EXPECT_NEAR(shown[0].lines[0].values.back(), 10.875, 1e-12);
    EXPECT_EQ(setup.model.Document().LastAnalysis, nullptr) << "a re-run leaves no node-value record";
    StoredAnalysis::Delete(record);
}

}  // namespace
