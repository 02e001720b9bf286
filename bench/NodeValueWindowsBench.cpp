// The node-bound windows on large selections: Define Variable opened on 10,000 selected nodes, its
// definition stored as one undo action and taken back; and Tables Used and Select Nodes over a tree of about
// 100,000 nodes.

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "treewin/DefineVariableWindow.h"
#include "treewin/SelectNodesDialog.h"
#include "treewin/TablesUsedDialog.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDIframeCL.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <cstdio>
#include <string>

namespace {

// Under the root: `groups` chance nodes of `leaves` terminal branches each, whose payoffs name a table.
void Grow(TreeDocument& document, int groups, int leaves)
{
    for (int i = 0; i < groups; ++i) {
        TreeNode* group = document.AddChild(document.Root, ChanceNode, ("Event " + std::to_string(i)).c_str());
        for (int k = 0; k < leaves; ++k)
            document.AddChild(group, TerminalNode, ("Outcome " + std::to_string(k)).c_str(),
                              k + 1 < leaves ? "p" : "#", k % 2 == 0 ? "Costs[k]" : "100*k");
    }
}

} // namespace

KIVO_BENCH(NodeValueWindows)
{
    BenchApp app;
    {
        MDIframeCL frame(nullptr, 0, "frame");
        TreeWindow window;
        TreeDocument& document = window.Document();
        window.Document().EnsureVariable("x", nullptr);
        Grow(document, 100, 100);
        for (int i = 0; i < document.Root->childCount; ++i) {
            TreeNode* group = document.Root->GetChild(i);
            for (int k = 0; k < group->childCount; ++k)
                window.Selection.Add(group->GetChild(k));
        }
        // The first window of its kind registers its class and loads its template.
        NodeChildList one(1, Ownership::Borrows);
        one.Add(window.Selection.At(0));
        BenchReport("open and close Define Variable on 1 node", 1, [&] { delete new DefineVariableWindow(&window, one, "x"); });
        DefineVariableWindow* defining = nullptr;
        BenchReport("open Define Variable on 10,000 selected nodes", 1,
                    [&] { defining = new DefineVariableWindow(&window, window.Selection, "x"); });
        SetDlgItemTextA(defining->Handle(), Ctl::DefineVariable31109::DefinitionEdit, "0.25*k");
        BenchReport("store the definition at 10,000 nodes (one undo action)", 1,
                    [&] { SendMessageA(defining->Handle(), WM_COMMAND, IDOK, 0); });
        BenchReport("undo it", 1, [&] { window.Undo(); });
    }
    {
        TreeWindow window;
        Grow(window.Document(), 1000, 99);
        auto previousPresenter = TablesUsedDialog::SetPresenter([](TablesUsedDialog&) { return IDOK; });
        std::printf("tree of %d x %d leaves\n", 1000, 99);
        BenchReport("Tables Used on a 100,001-node tree", 1, [&] { ShowTablesUsed(window.Document().Root); });
        TablesUsedDialog::SetPresenter(previousPresenter);
        // Select Nodes by a probability rule (every branch's probability worked out) and by a variable rule.
        for (int i = 0; i < 1000; i += 7)
            window.Document().Root->GetChild(i)->SetBinding("p", "0.01", false);
        SelectRule probability;
        probability.kind = SelectRule::ProbabilityValue;
        probability.comparison = 4;
        probability.target = 0.005;
        BenchReport("Select Nodes by probability >= 0.005 on 100,001 nodes", 1, [&] {
            window.ClearSelection();
            BenchKeep(SelectNodesDialog::SelectMatching(probability, window));
        });
        SelectRule variable;
        variable.kind = SelectRule::VariableDefined;
        variable.variable = "p";
        BenchReport("Select Nodes where p is defined on 100,001 nodes", 1, [&] {
            window.ClearSelection();
            BenchKeep(SelectNodesDialog::SelectMatching(variable, window));
        });
    }
}
