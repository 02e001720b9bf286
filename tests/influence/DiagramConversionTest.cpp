// Diagrams saved as ".ind" files, opened through the program and converted by the window's Convert To Tree:
// the new tree window's shape, formulas and roll back, worked out by hand.

#include "analysis/TreeEngines.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "app/StartProgram.h"
#include "foundation/RecentFileList.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/SampleDiagram.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <functional>
#include <string>
#include <utility>

namespace {

// The tree as text: each node "kind:text", a payoff after "=", children in brackets.
std::string Shape(const TreeNode* node)
{
    std::string text = std::to_string(node->kind) + ":" + node->text.Text();
    if (node->kind == TerminalNode)
        text += "=" + std::string(node->Payoff(0).Text().Text());
    if (node->childCount == 0)
        return text;
    text += "[";
    for (int i = 0; i < node->childCount; ++i)
        text += (i > 0 ? " " : "") + Shape(node->GetChild(i));
    return text + "]";
}

const TreeNode* Child(const TreeNode* node, std::initializer_list<int> path)
{
    for (int i : path)
        node = node->GetChild(i);
    return node;
}

class DiagramConversion : public ::testing::Test {
protected:
    DiagramConversion()
    {
        previousList = TheProgram()->ReplaceRecentFiles(std::make_unique<RecentFileList>());
        frame = new MainFrame;
        frame->EndStartup();
        MoveWindow(frame->Handle(), 0, 0, 800, 600, TRUE);
    }
    ~DiagramConversion() override
    {
        delete frame;
        TheProgram()->ReplaceRecentFiles(std::move(previousList));
        for (const std::string& path : files)
            std::remove(path.c_str());
    }

    // The diagram built by the function, saved as a ".ind" file of the name, opened and converted; the
    // tree window the conversion made (null when it made none).
    TreeWindow* Convert(const char* name, const std::function<void(InfluenceDocument&)>& build)
    {
        const char* temp = std::getenv("TEMP");
        files.push_back(std::string(temp ? temp : ".") + "\\" + name + ".ind");
        auto* drawn = new InfluenceDiagramWindow();
        build(drawn->document);
        EXPECT_EQ(drawn->SaveAs(files.back().c_str()), 1);
        delete drawn;
        diagram = dynamic_cast<InfluenceDiagramWindow*>(OpenFileByName(files.back().c_str()));
        EXPECT_NE(diagram, nullptr);
        if (diagram == nullptr)
            return nullptr;
        diagram->Show(SW_SHOWNORMAL);
        const size_t trees = TreeWindow::OpenWindows().size();
        SendMessageA(diagram->Handle(), WM_COMMAND, Cmd::FileConvertToOutline, 0);
        PumpMessagesFor(10);
        return TreeWindow::OpenWindows().size() > trees ? TreeWindow::OpenWindows().back() : nullptr;
    }

    // Shown windows and the recent files' store: the locks every such test takes, in the same order.
    FocusTestLock focus;
    StoreTestLock store;
    ScopedApplication app;
    std::unique_ptr<RecentFileList> previousList;
    MainFrame* frame;
    InfluenceDiagramWindow* diagram = nullptr;
    std::vector<std::string> files;
    MessageBoxRecorder boxes;
};

} // namespace

// A observed before D predicts S: A's branches read P(a), S's read P(s | a) from generated variables.
TEST_F(DiagramConversion, AnObservationThatPredictsALaterEventReadsBayesRevisedProbabilities)
{
    TreeWindow* tree = Convert("kivo_bayes", [](InfluenceDocument& d) { BuildBayesDiagram(d); });
    ASSERT_NE(tree, nullptr);
    TreeDocument& document = tree->Document();
    EXPECT_TRUE(tree->IsModified());
    EXPECT_STREQ(document.Root->text.Text(), "kivo_bayes");
    EXPECT_EQ(Shape(document.Root),
              "1:kivo_bayes[2:a1[1:Act[3:s1=100 3:s2=-20] 1:Wait[3:s1=0 3:s2=0]] "
              "2:a2[1:Act[3:s1=100 3:s2=-20] 1:Wait[3:s1=0 3:s2=0]]]");
    EXPECT_STREQ(Child(document.Root, {0})->text2.Text(), "A");
    const DocVariable* generated = document.FindVariable("_pJ_1", false);
    ASSERT_NE(generated, nullptr);
    EXPECT_EQ(generated->flag3, 0);

    const RollBackResult result = RollBackDocument(document);
    ASSERT_EQ(result.status, 0) << result.outcome.text.Text();
    EXPECT_NEAR(result.root.value, 22.6, 1e-9);
    const struct {
        std::initializer_list<int> path;
        double probability;
    } branches[] = {{{0}, 0.31}, {{1}, 0.69}, {{0, 0, 0}, 0.24 / 0.31}, {{0, 0, 1}, 0.07 / 0.31},
                    {{1, 1, 0}, 0.06 / 0.69}, {{1, 1, 1}, 0.63 / 0.69}};
    for (const auto& branch : branches)
        EXPECT_NEAR(Child(document.Root, branch.path)->branchProbability, branch.probability, 1e-9);
    EXPECT_NEAR(Child(document.Root, {0, 0, 0})->branchProbability, 0.774194, 1e-6);
    EXPECT_NEAR(Child(document.Root, {1, 0, 0})->branchProbability, 0.086957, 1e-6);
    EXPECT_EQ(boxes.Count(), 0u);
}

// A result that never shows (P(a1 | s) 0 for every s): after it the revised branches read 0 and the
// closing one 1, not a division by 0.
TEST_F(DiagramConversion, AnObservationThatCannotHappenGivesZeroInsteadOfADivisionByZero)
{
    TreeWindow* tree = Convert("kivo_never", [](InfluenceDocument& d) {
        const BayesDiagram bayes = BuildBayesDiagram(d);
        for (int s = 0; s < 2; ++s)
            SetDiagramCell(bayes.test, InfluenceNodeRecord::ProbabilityTable, {{"S", s}, {"A", 0}}, "0");
    });
    ASSERT_NE(tree, nullptr);
    const RollBackResult result = RollBackDocument(tree->Document());
    ASSERT_EQ(result.status, 0) << result.outcome.text.Text();
    // Never a1; after a2 the prior: Act pays 0.3 * 100 - 0.7 * 20 = 16.
    EXPECT_NEAR(result.root.value, 16.0, 1e-9);
    EXPECT_NEAR(Child(tree->Document().Root, {0, 0, 0})->branchProbability, 0.0, 1e-12);
    EXPECT_NEAR(Child(tree->Document().Root, {0, 0, 1})->branchProbability, 1.0, 1e-12);
}

// A test that may be skipped: where "no test" skips Result, Gas is not revised and reads its own 0.7.
// With the test, P(positive) 0.72, P(gas | positive) 0.875, P(gas | negative) 0.25: 1583 in all.
TEST_F(DiagramConversion, AnEventWhosePredictorIsSkippedOnAPathReadsItsOwnProbabilityThere)
{
    TreeWindow* tree = Convert("kivo_skipped_test", [](InfluenceDocument& d) {
        InfluenceNodeRecord* test = AddDiagramNode(d, d.diagram, InfluenceKind::Decision, "Test", 1, 1, {"test", "no test"});
        InfluenceNodeRecord* result = AddDiagramNode(d, d.diagram, InfluenceKind::Chance, "Result", 3, 1, {"positive", "negative"});
        InfluenceNodeRecord* act = AddDiagramNode(d, d.diagram, InfluenceKind::Decision, "Act", 5, 1, {"sell", "dig"});
        InfluenceNodeRecord* gas = AddDiagramNode(d, d.diagram, InfluenceKind::Chance, "Gas", 3, 3, {"gas", "no gas"});
        InfluenceNodeRecord* value = AddDiagramNode(d, d.diagram, InfluenceKind::Value, "V", 7, 2);
        AddDiagramArc(d.diagram, test, result)->settings.rows[1].influenceType = ArcInfluenceRow::Skip;
        for (auto [tail, head] : {std::pair{gas, result}, {result, act}, {test, act}, {act, value}, {gas, value}})
            AddDiagramArc(d.diagram, tail, head);
        const int probabilities = InfluenceNodeRecord::ProbabilityTable;
        SetDiagramCell(gas, probabilities, {{"Gas", 0}}, "0.7");
        SetDiagramCell(gas, probabilities, {{"Gas", 1}}, "#");
        for (int g = 0; g < 2; ++g) {
            SetDiagramCell(result, probabilities, {{"Test", 0}, {"Gas", g}, {"Result", 0}}, g == 0 ? "0.9" : "0.3");
            SetDiagramCell(result, probabilities, {{"Test", 0}, {"Gas", g}, {"Result", 1}}, "#");
        }
        const char* pays[2][2] = {{"800", "800"}, {"2200", "-300"}};
        for (int a = 0; a < 2; ++a)
            for (int g = 0; g < 2; ++g)
                SetDiagramCell(value, InfluenceNodeRecord::ValueTable, {{"Act", a}, {"Gas", g}}, pays[a][g]);
    });
    ASSERT_NE(tree, nullptr);
    const RollBackResult result = RollBackDocument(tree->Document());
    ASSERT_EQ(result.status, 0) << result.outcome.text.Text();
    EXPECT_NEAR(result.root.value, 1583, 1e-9);
    EXPECT_NEAR(Child(tree->Document().Root, {1, 1, 0})->branchProbability, 0.7, 1e-12);
}

// D (yes, no) -> C (c1, c2, c3) -> E (e1, e2) -> V, V's table paying 100 (d + 1) + 10 (c + 1) + e + 1; the
// row of the arc D -> C for "yes" prunes what follows "yes", and "no" always keeps every branch.
TEST_F(DiagramConversion, TheArcRowsOfAStateForceEliminateOrSkipWhatFollowsIt)
{
    const struct {
        int32_t type;
        const char* yes;
    } cases[] = {
        {ArcInfluenceRow::Symmetric,
         "1:yes[1:c1[3:e1=111 3:e2=112] 1:c2[3:e1=121 3:e2=122] 1:c3[3:e1=131 3:e2=132]]"},
        {ArcInfluenceRow::Force, "1:yes[1:c2[3:e1=121 3:e2=122]]"},
        {ArcInfluenceRow::Eliminate, "1:yes[1:c1[3:e1=111 3:e2=112] 1:c3[3:e1=131 3:e2=132]]"},
        // C is left out and takes its value when skipped; V's cell is the nearest defined, c1's.
        {ArcInfluenceRow::Skip, "1:yes[3:e1=111 3:e2=112]"},
        {ArcInfluenceRow::SkipAll, "3:yes=111"},
    };
    for (const auto& c : cases) {
        TreeWindow* tree = Convert(("kivo_rows" + std::to_string(c.type)).c_str(), [&c](InfluenceDocument& d) {
            InfluenceNodeRecord* decision = AddDiagramNode(d, d.diagram, InfluenceKind::Decision, "D", 1, 1, {"yes", "no"});
            InfluenceNodeRecord* chance = AddDiagramNode(d, d.diagram, InfluenceKind::Chance, "C", 3, 1, {"c1", "c2", "c3"});
            InfluenceNodeRecord* later = AddDiagramNode(d, d.diagram, InfluenceKind::Chance, "E", 5, 1, {"e1", "e2"});
            InfluenceNodeRecord* value = AddDiagramNode(d, d.diagram, InfluenceKind::Value, "V", 7, 1);
            chance->valueText = "7";
            InfluenceArc* rows = AddDiagramArc(d.diagram, decision, chance);
            rows->settings.rows[0].influenceType = c.type;
            rows->settings.rows[0].targetState = 1;
            for (InfluenceNodeRecord* tail : {decision, chance, later})
                AddDiagramArc(d.diagram, tail, value);
            for (int dv = 0; dv < 2; ++dv)
                for (int cv = 0; cv < 3; ++cv)
                    for (int ev = 0; ev < 2; ++ev)
                        SetDiagramCell(value, InfluenceNodeRecord::ValueTable, {{"D", dv}, {"C", cv}, {"E", ev}},
                                       std::to_string(100 * (dv + 1) + 10 * (cv + 1) + ev + 1).c_str());
        });
        ASSERT_NE(tree, nullptr) << c.type;
        const TreeNode* root = tree->Document().Root;
        EXPECT_EQ(Shape(Child(root, {0})), c.yes) << c.type;
        EXPECT_EQ(Shape(Child(root, {1})),
                  "1:no[1:c1[3:e1=211 3:e2=212] 1:c2[3:e1=221 3:e2=222] 1:c3[3:e1=231 3:e2=232]]")
            << c.type;
        const VariableDefinition* skipped = Child(root, {0})->FindBinding("C", false);
        const bool skips = c.type == ArcInfluenceRow::Skip || c.type == ArcInfluenceRow::SkipAll;
        EXPECT_EQ(skipped != nullptr, skips) << c.type;
        if (skipped != nullptr) {
            EXPECT_STREQ(skipped->definition.Text().Text(), "7");
        }
        EXPECT_EQ(Child(root, {0})->FindBinding("E", false) != nullptr, c.type == ArcInfluenceRow::SkipAll) << c.type;
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

// A deterministic X (baseline 5 within 1 to 9) and C's values feed V = X*2+C: bound once at the root, X
// given its range; the tree takes the diagram's links, number format and optimal direction.
TEST_F(DiagramConversion, DefinitionsRangesAndTheDiagramsSettingsReachTheTree)
{
    TreeWindow* tree = Convert("kivo_defs", [](InfluenceDocument& d) {
        InfluenceNodeRecord* cost = AddDiagramNode(d, d.diagram, InfluenceKind::Deterministic, "X", 1, 3);
        cost->valueText = "5";
        cost->lowValue = 1;
        cost->highValue = 9;
        InfluenceNodeRecord* chance = AddDiagramNode(d, d.diagram, InfluenceKind::Chance, "C", 1, 1, {"c1", "c2"});
        InfluenceNodeRecord* value = AddDiagramNode(d, d.diagram, InfluenceKind::Value, "V", 4, 2);
        value->noFormula = 0;
        value->formula = "X*2+C";
        AddDiagramArc(d.diagram, cost, value);
        AddDiagramArc(d.diagram, chance, value);
        SetDiagramCell(chance, InfluenceNodeRecord::ProbabilityTable, {{"C", 0}}, "0.5");
        SetDiagramCell(chance, InfluenceNodeRecord::ProbabilityTable, {{"C", 1}}, "#");
        SetDiagramCell(chance, InfluenceNodeRecord::ValueTable, {{"C", 0}}, "10");
        SetDiagramCell(chance, InfluenceNodeRecord::ValueTable, {{"C", 1}}, "20");
        d.prefs.optHigh = 0;
        d.prefs.numberFormat.expValDigits = 4;
        auto* link = new DocumentLink(3);
        link->topic = "Costs.xls";
        d.links.InsertSorted(link);
    });
    ASSERT_NE(tree, nullptr);
    TreeDocument& document = tree->Document();
    EXPECT_EQ(Shape(document.Root), "1:kivo_defs[3:c1=V 3:c2=V]");
    EXPECT_STREQ(document.Root->FindBinding("X", false)->definition.Text().Text(), "5");
    EXPECT_STREQ(document.Root->FindBinding("V", false)->definition.Text().Text(), "X*2+C");
    EXPECT_EQ(Child(document.Root, {0})->FindBinding("V", false), nullptr);
    const DocVariable* range = document.FindVariable("X", false);
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->hasRange, 1);
    EXPECT_EQ(range->low.value, 1);
    EXPECT_EQ(range->high.value, 9);
    const RollBackResult result = RollBackDocument(document);
    ASSERT_EQ(result.status, 0) << result.outcome.text.Text();
    EXPECT_NEAR(result.root.value, 0.5 * 20 + 0.5 * 30, 1e-9);
    EXPECT_FALSE(document.IsMaximizing());
    EXPECT_EQ(document.NumberFormat().expValDigits, 4);
    ASSERT_NE(document.DocumentLinks.Find(3), nullptr);
    EXPECT_STREQ(document.DocumentLinks.Find(3)->topic.Text(), "Costs.xls");
}
