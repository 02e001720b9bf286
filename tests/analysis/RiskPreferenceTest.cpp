// Risk preference functions: the exponential and assessed forms, the point questions and the check that
// the tree still fits the assessed range.

#include "analysis/LineGraphData.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/RiskPreference.h"
#include "analysis/RollBack.h"
#include "foundation/MemoryStream.h"
#include "model/RiskPrefAssessment.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Gamble {
    Gamble()
    {
        chance = tree.Add(tree.Root(), ChanceNode, "gamble");
        win = tree.Terminal(chance, "win", "0.5", "1000");
        tree.Terminal(chance, "lose", "0.5", "0");
    }
    TreeBuilder tree;
    TreeNode* chance;
    TreeNode* win;
};

TEST(RiskPreference, ExponentialFunctionAndItsInverse)
{
    RiskPrefAssessment function;
    function.type = 1;
    function.coefficient = 1000;
    RunFault error;
    EXPECT_EQ(function.ToUtility(0, &error), 0.0);
    EXPECT_NEAR(function.ToUtility(1000, &error), 0.632120559, 1e-9);
    EXPECT_NEAR(function.FromUtility(1 - std::exp(-1.0), &error), 1000, 1e-9);
    EXPECT_FALSE(error);
    function.FromUtility(1.0, &error);
    EXPECT_TRUE(error);
    error.Clear();
    function.ToUtility(-1e7, &error);
    EXPECT_TRUE(error);
}

TEST(RiskPreference, GraphSpansTheFunction)
{
    Gamble g;
    LineGraphData graph;
    EXPECT_FALSE(MakeRiskPreferenceGraph(&g.tree.Document(), graph));
    g.tree.Document().RiskAssessment.type = 1;
    g.tree.Document().RiskAssessment.coefficient = 100;
    ASSERT_TRUE(MakeRiskPreferenceGraph(&g.tree.Document(), graph));
    EXPECT_EQ(graph.horizontal.bottom, -100);
    EXPECT_EQ(graph.horizontal.top, 200);
    ASSERT_EQ(graph.lines.size(), 1u);
    ASSERT_EQ(graph.lines[0].values.size(), 11u);
    EXPECT_NEAR(graph.lines[0].values[0], 1 - std::exp(1.0), 1e-12);
    EXPECT_NEAR(graph.lines[0].values[10], 1 - std::exp(-2.0), 1e-12);
}

TEST(RiskPreference, RollBackGivesCertaintyEquivalents)
{
    MessageBoxRecorder boxes;
    Gamble g;
    g.tree.Document().RiskAssessment.type = 1;
    g.tree.Document().RiskAssessment.coefficient = 1000;
    g.tree.Document().CalcPrefs.UseUtility = 1;
    RunFault error;
    double ce = RollBackTree(g.chance, &error, RollBackSilent);
    EXPECT_FALSE(error);
    EXPECT_NEAR(ce, -1000 * std::log(1 - (1 - std::exp(-1.0)) / 2), 1e-9);
    EXPECT_EQ(boxes.Count(), 0u);
}

// Sixteen segments ask fifteen questions, bisecting the utility scale level by level; the answers are
// the lottery midpoints, so every point lies on the straight line and utilities come out exact.
TEST(RiskPreference, PointQuestionsBisectTheUtilityScale)
{
    MessageBoxRecorder boxes;
    for (int segments : {2, 16}) {
        Gamble g;
        RiskPointAssessment assessment;
        ASSERT_TRUE(assessment.Begin(&g.tree.Document(), segments));
        std::vector<double> asked;
        while (!assessment.Complete()) {
            double middle = assessment.Proposed();
            asked.push_back(middle / 1000);
            ASSERT_TRUE(assessment.Answer(middle));
        }
        ASSERT_EQ(asked.size(), static_cast<size_t>(segments - 1));
        if (segments == 16) {
            const double order[] = {0.5, 0.25, 0.75, 0.125, 0.375, 0.625, 0.875, 0.0625};
            for (size_t i = 0; i < 8; ++i)
                EXPECT_DOUBLE_EQ(asked[i], order[i]) << i;
        }
        assessment.Store(&g.tree.Document());
        const RiskPrefAssessment& function = g.tree.Document().RiskAssessment;
        for (int i = 0; i <= segments; ++i)
            EXPECT_DOUBLE_EQ(function.points[i].utility * 1000, function.points[i].value) << i;
        RunFault error;
        EXPECT_NEAR(function.ToUtility(333, &error), 0.333, 1e-12);
        EXPECT_NEAR(function.FromUtility(0.9, &error), 900, 1e-9);
        EXPECT_FALSE(error);
        function.ToUtility(1001, &error);
        EXPECT_TRUE(error);
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(RiskPreference, RefusedAnswersAndNarrowTrees)
{
    MessageBoxRecorder boxes;
    Gamble g;
    RiskPointAssessment assessment;
    ASSERT_TRUE(assessment.Begin(&g.tree.Document(), 4));
    EXPECT_FALSE(assessment.Answer(1000));
    EXPECT_EQ(boxes.Last().text, "You must enter a number between the low and high values of the given lottery.");
    EXPECT_EQ(assessment.QuestionNumber(), 1);
    g.win->SetPayoffText("0", 0, false);
    EXPECT_FALSE(assessment.Begin(&g.tree.Document(), 4));
    EXPECT_EQ(boxes.Last().text, "The tree does not have a wide enough payoff range to use this risk preference function.");
}

// After assessment a wider tree fails the check with both ranges; a sixteen-segment table read back from a
// file keeps sixteen points, has no top point and fails too, without reading past its table.
TEST(RiskPreference, CheckRefusesARangeTheAssessmentDoesNotCover)
{
    MessageBoxRecorder boxes;
    Gamble g;
    TreeDocument& document = g.tree.Document();
    document.CalcPrefs.UseUtility = 1;
    for (int segments : {4, 16}) {
        RiskPointAssessment assessment;
        ASSERT_TRUE(assessment.Begin(&document, segments));
        while (!assessment.Complete())
            assessment.Answer(assessment.Proposed());
        assessment.Store(&document);
        zString message;
        auto range = [&document](double& lo, double& hi) { return TreeEndValueRange(&document, lo, hi); };
        EXPECT_TRUE(document.RiskAssessment.Check(document, message, range));

        MemoryStream out(100);
        document.RiskAssessment.Serialize(out);
        MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
        RiskPrefAssessment read;
        read.Serialize(in);
        EXPECT_EQ(read.Check(document, message, range), segments == 4) << segments;
    }
    g.win->SetPayoffText("2000", 0, false);
    EXPECT_EQ(CheckRiskPreference(&document, nullptr), 1);  // answered Yes: the function is turned off
    EXPECT_EQ(document.CalcPrefs.UseUtility, 0);
    EXPECT_NE(boxes.Last().text.find("Old range: 0 to 1000.000; new range: 0 to 2000.000."), std::string::npos)
        << boxes.Last().text;
}

}  // namespace
