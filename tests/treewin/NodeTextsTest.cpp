#include "treewin/DefinitionsBox.h"
#include "treewin/RollBackText.h"

#include "analysis/TreeEngines.h"
#include "model/MarkovBinding.h"
#include "model/NodeResultText.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string Result(TreeNode* node)
{
    zString text;
    BuildNodeResultText(node, text);
    return text.Text();
}

std::string Plain(TreeNode* node)
{
    zString text;
    BuildPlainRollBackText(node, text, false);
    return text.Text();
}

std::string Value(const TreeNode* node)
{
    zString text;
    BuildNodeValueText(node, text, 0);
    return text.Text();
}

} // namespace

TEST(RollBackTexts, ResultsNameTheChoiceAndTheValue)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeNode* root = document.Root;
    TreeNode* tie = document.AddChild(root, DecisionNode, "Tie");
    document.AddChild(tie, TerminalNode, "A", "", "5");
    document.AddChild(tie, TerminalNode, "B", "", "5");
    TreeNode* formula = document.AddChild(root, TerminalNode, "Formula", "", "2*3");
    TreeNode* plain = document.AddChild(root, TerminalNode, "Plain", "", "4");
    ASSERT_EQ(RollBackDocument(document).status, 0);

    EXPECT_EQ(Result(tie), "(Indifferent) : " + Value(tie));
    EXPECT_EQ(Result(root), "Formula : " + Value(root));
    EXPECT_EQ(Result(formula).rfind("2*3 = " + Value(formula) + "; P = ", 0), 0u) << Result(formula);
    EXPECT_EQ(Result(plain).rfind(Value(plain) + "; P = ", 0), 0u) << Result(plain);

    root->optimal->RemoveAll();
    EXPECT_EQ(Result(root), "(No Optimal)");
    document.CalcPrefs.RollBackCalculatesKey = RollBackPathProbabilities;
    EXPECT_EQ(Result(plain).rfind("P = ", 0), 0u);
    document.CalcPrefs.RollBackCalculatesKey = RollBackMaximin;
    tie->kind = ChanceNode;
    EXPECT_EQ(Result(tie).rfind(document.IsMaximizing() ? "MIN: " : "MAX: ", 0), 0u);
    document.CalcPrefs.RollBackCalculatesKey = RollBackExpectedValues;
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    tie->triple.effectiveness = 0.0;
    EXPECT_EQ(Result(tie), "Undefined (Eff=0)");
}

TEST(RollBackTexts, PlainLabelsBeforeRollBack)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeDisplayPrefs& prefs = document.DisplayPrefs;
    TreeNode* empty = document.AddChild(document.Root, TerminalNode, "Empty");
    TreeNode* paid = document.AddChild(document.Root, TerminalNode, "Paid", "", "12");
    TreeNode* master = document.AddChild(document.Root, ChanceNode, "Master");
    document.AddChild(master, TerminalNode, "x", "1", "1");
    master->cloneStatus = CloneMasterNode;
    master->cloneId = 3;
    document.AddChild(document.Root, ChanceNode, "Copy");
    TreeNode* copy = document.Root->GetChild(3);
    copy->cloneStatus = CloneCopyNode;
    copy->cloneId = 3;
    document.AddCloneMaster(master, "Gamble");

    prefs.ShowTermNodeNumbers = 0;
    prefs.AlwaysShowPayoffs = 0;
    prefs.HideCloneCopies = 1;
    zString none;
    EXPECT_FALSE(BuildPlainRollBackText(paid, none, false));
    prefs.AlwaysShowPayoffs = 1;
    EXPECT_EQ(Plain(empty), "(No Payoff)");
    EXPECT_EQ(Plain(paid), "12");
    prefs.ShowTermNodeNumbers = 1;
    prefs.TermNumString = "#^";
    paid->terminalNumber = 2;
    EXPECT_EQ(Plain(paid), "#2 12");
    EXPECT_EQ(Plain(copy), "Clone 3: Gamble   ");
    copy->collapsed = 1;
    EXPECT_EQ(Plain(copy), " [+] Clone 3: Gamble   ");
    master->collapsed = 1;
    EXPECT_EQ(Plain(master), " [+] ");
}

TEST(DefinitionsBox, ListsDefinitionsAndMarkovInformation)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.DisplayPrefs.MarkNodesWithVars = 2;
    document.DisplayPrefs.ShowMarkovInfo = 1;
    document.CalcPrefs.CalcMethod = PayoffMethod;
    document.CalcPrefs.CurrentPayoff = 0;
    TreeNode* markov = document.AddChild(document.Root, MarkovNode, "M");
    markov->SetBinding("RATE", "0.1", false);
    markov->SetMarkovTerminationText("_stage>5", 0);
    TreeNode* state = document.AddChild(markov, ChanceNode, "Well", "1");
    state->SetMarkovTunnelCount(2, false);
    state->markovBindings = std::make_unique<MarkovBindingList>();
    state->markovBindings->Add(new MarkovBinding("Dead\r\nstate", "gone"));

    std::vector<std::string> lines;
    EXPECT_EQ(BuildDefinitionLines(markov, &lines), 3);
    EXPECT_EQ(lines, (std::vector<std::string>{"RATE=0.1", " --- Markov Information", "Term 1: _stage>5"}));
    lines.clear();
    BuildDefinitionLines(state, &lines);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "Tunnels: 3");
    EXPECT_EQ(lines[2].rfind("Init Rwd: ", 0), 0u);
    EXPECT_EQ(lines[5], " --- State Bindings");
    EXPECT_EQ(lines[6], "gone >> Dead state");

    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    markov->SetMarkovSharedTermination("_stage>9");
    lines.clear();
    BuildDefinitionLines(markov, &lines);
    EXPECT_EQ(lines.back(), "Term C/E: _stage>9");

    document.DisplayPrefs.MarkNodesWithVars = 1;
    window.Redraw();
    EXPECT_EQ(markov->Geometry().DefinitionsHeight, 0.0f);
}
