// Pasting a stored subtree of about 10,000 nodes into a shown tree of about 100,000 nodes, and taking the paste
// back and applying it again, each with the measuring and layout that follow.

#include "bench/Bench.h"

#include "model/TreeNode.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeWindow.h"

#include <cstdio>
#include <string>

namespace {

// Under the parent: `groups` chance nodes of `leaves` terminal branches each.
void Grow(TreeDocument& document, TreeNode* parent, int groups, int leaves)
{
    for (int i = 0; i < groups; ++i) {
        TreeNode* group = document.AddChild(parent, ChanceNode, ("Event " + std::to_string(i)).c_str());
        for (int k = 0; k < leaves; ++k)
            document.AddChild(group, TerminalNode, ("Outcome " + std::to_string(k)).c_str(),
                              k + 1 < leaves ? "p" : "#", "100*k");
    }
}

} // namespace

KIVO_BENCH(TreeClipboardPaste)
{
    TreeWindow source;
    TreeNode* stored = source.Document().AddChild(source.Document().Root, ChanceNode, "Stored");
    Grow(source.Document(), stored, 100, 99);
    TheTreeClipboard().Store(stored, 0);

    TreeWindow window;
    TreeDocument& document = window.Document();
    Grow(document, document.Root, 100, 999);
    window.Redraw();
    NodeChildList targets(4, Ownership::Borrows);
    targets.Add(document.Root->GetChild(50));
    std::printf("tree of %d x %d leaves, pasting %d branches of %d leaves\n", 100, 999, 100, 99);
    BenchReport("paste a 10,101-node subtree into a 100,001-node tree", 1,
                [&] { window.AddUndoAction(new TreePasteAction(&window, targets)); });
    BenchReport("undo the paste", 1, [&] { window.Undo(); });
    BenchReport("redo the paste", 1, [&] { window.Redo(); });
    TheTreeClipboard().Store(nullptr, 0);
}
