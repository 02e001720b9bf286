// Mouse presses, moves and releases sent to the pane of a shown tree select nodes and draw rubber bands.

#include "treewin/TreePane.h"

#include "framework/window/MDIframeCL.h"
#include "model/TreeNode.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeViewWindow.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct ShownTree {
    ShownTree()
    {
        frame.Show(SW_SHOW);
        TreeDocument& document = window.Document();
        chance = document.AddChild(document.Root, ChanceNode, "Chance");
        decision = document.AddChild(document.Root, DecisionNode, "Decision");
        first = document.AddChild(chance, TerminalNode, "First", "0.5");
        second = document.AddChild(chance, TerminalNode, "Second", "#");
        pane = static_cast<TreePane*>(window.Show().Pane());
        window.Show().Show(SW_MAXIMIZE);
        PumpMessagesFor(50);
    }
    // The client point of the middle of the node's symbol (and, with dx/dy, beside it).
    POINT At(const TreeNode* node, int dx = 0, int dy = 0)
    {
        pane->PushDrawingScale();
        const RECT drawing = LogicalRectToPixels(SymbolRect(node), *pane->CurrentDisplay());
        pane->PopDrawingScale();
        const RECT client = pane->DrawingToClient(drawing);
        return POINT{(client.left + client.right) / 2 + dx, (client.top + client.bottom) / 2 + dy};
    }
    void Send(UINT message, WPARAM keys, POINT point)
    {
        SendMessageA(pane->Handle(), message, keys, MAKELPARAM(point.x, point.y));
    }
    void Drag(POINT from, POINT to, WPARAM keys)
    {
        Send(WM_LBUTTONDOWN, keys | MK_LBUTTON, from);
        Send(WM_MOUSEMOVE, keys | MK_LBUTTON, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
        Send(WM_MOUSEMOVE, keys | MK_LBUTTON, to);
        Send(WM_LBUTTONUP, keys, to);
    }
    std::set<TreeNode*> Selected()
    {
        std::set<TreeNode*> nodes;
        const NodeChildList& selection = window.Document().Selection;
        for (int i = 0; i < selection.Count(); ++i)
            nodes.insert(selection.At(i));
        return nodes;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    TreeWindow window;
    TreeNode *chance, *decision, *first, *second;
    TreePane* pane;
};

TEST(TreePane, PressOnASymbolSelectsItsNodeText)
{
    ShownTree t;
    t.Send(WM_LBUTTONDOWN, MK_LBUTTON, t.At(t.decision));
    t.Send(WM_LBUTTONUP, 0, t.At(t.decision));
    EXPECT_EQ(t.Selected(), std::set<TreeNode*>{t.decision});
    EXPECT_EQ(t.window.EditField, 1);
    // A press on empty space without a drag leaves nothing selected.
    const POINT empty = t.At(t.second, 0, 60);
    t.Send(WM_LBUTTONDOWN, MK_LBUTTON, empty);
    t.Send(WM_LBUTTONUP, 0, empty);
    EXPECT_TRUE(t.Selected().empty());
}

TEST(TreePane, RubberBandSelectsTheNodesInItAndShiftInverts)
{
    ShownTree t;
    // From the empty right of the first leaf to left of the second's symbol: exactly the two leaves.
    const POINT from = t.At(t.first, 30, -8);
    const POINT to = t.At(t.second, -3, 8);
    t.Drag(from, to, 0);
    EXPECT_EQ(t.Selected(), (std::set<TreeNode*>{t.first, t.second}));
    // With Shift the band inverts what it passes over: the chance node joins, the first leaf leaves.
    t.Drag(t.At(t.first, 30, -8), t.At(t.chance, -3, 3), MK_SHIFT);
    EXPECT_EQ(t.Selected(), (std::set<TreeNode*>{t.chance, t.second}));
    // A move without the button abandons the band.
    t.Send(WM_LBUTTONDOWN, MK_LBUTTON, from);
    t.Send(WM_MOUSEMOVE, 0, to);
    t.Send(WM_LBUTTONUP, 0, to);
    EXPECT_TRUE(t.Selected().empty());
}

}  // namespace
