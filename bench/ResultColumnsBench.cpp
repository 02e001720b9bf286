// Result columns of four kinds computed and painted beside a rolled-back tree of about 10,000 end nodes, and
// Find Next through a tree of about 100,000 nodes that holds no match.

#include "bench/Bench.h"
#include "bench/BenchTree.h"

#include "analysis/TreeEngines.h"
#include "widgets/MessageBoxes.h"
#include "treewin/FindReplaceWindow.h"
#include "treewin/ResultBoxes.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingScale.h"
#include "model/DisplayColumnList.h"
#include "model/TreeNode.h"
#include "treewin/TreePainter.h"
#include "treewin/TreeWindow.h"

#include <cstdio>
#include <string>

KIVO_BENCH(ResultColumns)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    GrowBenchTree(document);
    document.Root->SetBinding("pOutcome", "0.01", false);
    const int kinds[] = {DisplayColumn::kExpectedValue, DisplayColumn::kPathProbability, DisplayColumn::kMarginalValue,
                         DisplayColumn::kScenarioNumber};
    for (int kind : kinds) {
        auto* column = new DisplayColumn;
        column->kind = kind;
        column->header = "Column";
        document.RollBackColumns.Add(column);
    }
    document.DisplayPrefs.ShowColumns = 1;
    document.DisplayPrefs.ShowTermNodeNumbers = 1;
    RollBackDocument(document);
    document.RolledBack = RolledBackValues::Computed;
    window.Redraw();
    BenchReport("compute and measure 4 columns at 9,900 end nodes", 5, [&] { ResultBoxes::Layout(window); });
    SetCurrentDrawingScale(0.25f);
    const LayoutRect bounds = window.Layout().DrawingBounds;
    BitmapDisplay whole(static_cast<int>(bounds.right * 24) + 1, static_cast<int>(bounds.bottom * 24) + 1);
    BenchReport("paint the tree with its 4 columns (zoom 0.25)", 5, [&] { window.Draw(whole); });
    BenchReport("paint the 4 columns alone (zoom 0.25)", 5, [&] {
        PaintContext context(window, whole, nullptr, nullptr);
        ResultBoxes::Paint(window, context);
    });
    SetCurrentDrawingScale(1.0f);
    zString table;
    BenchReport("table text of the columns", 5, [&] { ResultBoxes::WriteTableText(window, table); });
    std::printf("table of %u characters\n", table.Length());
}

KIVO_BENCH(FindReplace)
{
    TreeWindow window;
    TreeDocument& document = window.Document();
    for (int i = 0; i < 10; ++i) {
        TreeNode* outer = document.AddChild(document.Root, ChanceNode, ("Strategy " + std::to_string(i)).c_str());
        for (int j = 0; j < 100; ++j) {
            TreeNode* inner = document.AddChild(outer, ChanceNode, ("Event " + std::to_string(j)).c_str(), "0.01");
            for (int k = 0; k < 99; ++k)
                document.AddChild(inner, TerminalNode, ("Outcome " + std::to_string(k)).c_str(), "p", "100*k");
        }
    }
    auto* find = new FindReplaceWindow(&window);
    for (int& searched : find->searchIn)
        searched = 1;
    find->findText = "nowhere";
    BenchReport("Find Next without a match in 100,011 nodes, every field", 3, [&] { find->FindNext(); });
    // Each run renames every outcome there and back, so all three runs replace 99,000 names.
    const MessageBoxPresenter previous = SetMessageBoxPresenter([](const MessageBoxRequest&) { return 1; });
    find->searchIn[0] = 1;
    find->searchIn[1] = find->searchIn[2] = find->searchIn[3] = find->searchIn[4] = 0;
    bool forward = true;
    BenchReport("Replace All of 99,000 node names in 100,011 nodes", 3, [&] {
        find->findText = forward ? "Outcome" : "Result";
        find->replaceText = forward ? "Result" : "Outcome";
        forward = !forward;
        find->ReplaceAll();
    });
    SetMessageBoxPresenter(previous);
}
