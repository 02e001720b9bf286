// Measuring, laying out and painting a generated tree of about 10,000 nodes (a decision root, 10 chance
// nodes of 10 chance nodes each, every one of those with 99 terminal branches) into an off-screen bitmap,
// and the redraw after one node's text changes.

#include "bench/Bench.h"
#include "bench/BenchTree.h"

#include "foundation/LogicalRect.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingScale.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeWindow.h"

#include <cstdint>
#include <cstdio>
#include <string>

void GrowBenchTree(TreeDocument& document)
{
    TreeNode* root = document.Root;
    root->SetText("Choose a strategy", false);
    for (int i = 0; i < 10; ++i) {
        TreeNode* outer = document.AddChild(root, ChanceNode, ("Strategy " + std::to_string(i)).c_str());
        for (int j = 0; j < 10; ++j) {
            TreeNode* inner = document.AddChild(outer, ChanceNode, ("Event " + std::to_string(j)).c_str(),
                                                j < 9 ? "0.1" : "#");
            for (int k = 0; k < 99; ++k)
                document.AddChild(inner, TerminalNode, ("Outcome " + std::to_string(k)).c_str(),
                                  k < 98 ? "pOutcome" : "#", "100*k");
        }
    }
}

KIVO_BENCH(TreeDrawing)
{
    TreeWindow window;
    GrowBenchTree(window.Document());
    BenchReport("measure and lay out 10,011 nodes", 1, [&] { window.Redraw(); });
    BenchReport("lay out 10,011 nodes", 10, [&] { window.Relayout(); });
    {
        // The whole drawing at a quarter of its size fits one bitmap.
        SetCurrentDrawingScale(0.25f);
        const LayoutRect bounds = window.Layout().DrawingBounds;
        BitmapDisplay whole(static_cast<int>(bounds.right * 24) + 1, static_cast<int>(bounds.bottom * 24) + 1);
        std::printf("whole drawing %d x %d pixels\n", static_cast<int>(bounds.right * 24),
                    static_cast<int>(bounds.bottom * 24));
        BenchReport("paint every node (zoom 0.25)", 5, [&] { window.Draw(whole); });
        SetCurrentDrawingScale(1.0f);
    }
    BitmapDisplay display(1200, 900);
    BenchReport("paint one screen (1200 x 900 pixels)", 20, [&] { window.Draw(display); });
    TreeNode* edited = window.Document().Root->GetChild(5)->GetChild(5)->GetChild(5);
    int edits = 0;
    BenchReport("redraw after one node's text changes", 20, [&] {
        edited->SetText(("Edited " + std::to_string(++edits)).c_str(), false);
        window.RedrawNode(edited, 0);
    });
    // Points spread over the whole drawing with a fixed linear congruential sequence.
    const LayoutRect bounds = window.Layout().DrawingBounds;
    uint32_t seed = 12345;
    auto next = [&seed](float extent) {
        seed = seed * 1103515245u + 12345u;
        return extent * static_cast<float>((seed >> 8) & 0xFFFF) / 65536.0f;
    };
    int found = 0;
    BenchReport("FindNodeAt at a random point of the drawing", 100000, [&] {
        const LogicalPoint point{next(bounds.right), next(bounds.bottom)};
        found += FindNodeAt(window, window.Document().Root, point) != nullptr ? 1 : 0;
    });
    std::printf("%d of 100000 points hit a node\n", found);
    TreeNode* deep = window.Document().Root->GetChild(9)->GetChild(9)->GetChild(98);
    BenchReport("select a deep node and scroll it into view", 1000, [&] {
        window.SelectNode(deep, 1, nullptr, false);
        window.ScrollSelectionIntoView();
        window.ClearSelection();
    });
}
