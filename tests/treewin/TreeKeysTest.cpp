// The tree window's key operation: moving the selection through the tree and switching the edited field.

#include "treewin/TreeWindow.h"

#include "widgets/ProgramPreferences.h"
#include "framework/window/WindowEvent.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class ControlHeld {
public:
    explicit ControlHeld(bool held)
    {
        GetKeyboardState(saved_);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    ~ControlHeld() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

class Navigating {
public:
    explicit Navigating(bool on) : saved_(ThePreferences().navigating) { ThePreferences().navigating = on; }
    ~Navigating() { ThePreferences().navigating = saved_; }

private:
    bool saved_;
};

int Key(TreeWindow& window, int key)
{
    return window.OnKey(static_cast<unsigned>(key), false);
}

// Root (decision) with A (chance: A1, A2) and B (chance: B1, B2); B2 binds a variable.
struct KeyTree {
    KeyTree()
    {
        TreeDocument& tree = window.Document();
        a = tree.AddChild(tree.Root, ChanceNode, "A");
        b = tree.AddChild(tree.Root, ChanceNode, "B");
        a1 = tree.AddChild(a, TerminalNode, "A1");
        a2 = tree.AddChild(a, TerminalNode, "A2");
        b1 = tree.AddChild(b, TerminalNode, "B1");
        b2 = tree.AddChild(b, TerminalNode, "B2");
        b2->SetBinding("x", "1", false);
    }
    TreeWindow window;
    TreeNode *a, *b, *a1, *a2, *b1, *b2;
};

TEST(TreeKeys, ArrowsAndHomeMoveTheSelection)
{
    KeyTree t;
    TreeWindow& window = t.window;
    Navigating navigating(true);
    ControlHeld control(false);
    struct Case {
        TreeNode* from;
        int key;
        bool addAbove;
        bool collapsed;
        TreeNode* expected;
    } cases[] = {
        {t.b1, VK_HOME, false, false, window.Document().Root},
        {t.a, VK_RIGHT, true, false, t.a1},
        {t.a, VK_RIGHT, false, false, t.a2},
        {t.a, VK_RIGHT, false, true, t.a},
        {t.b1, VK_LEFT, false, false, t.b},
        {t.b1, VK_UP, false, false, t.a2},
        {t.a2, VK_DOWN, false, false, t.b1},
        {t.b2, VK_DOWN, false, false, t.b2},
    };
    for (const Case& c : cases) {
        window.Document().DisplayPrefs.AddAbove = c.addAbove ? 1 : 0;
        t.a->collapsed = c.collapsed ? 1 : 0;
        window.SelectNode(c.from, 1, nullptr, false);
        EXPECT_EQ(Key(window, c.key), 1);
        EXPECT_EQ(window.CurrentNode(), c.expected) << c.from->text.Text() << " key " << c.key;
        EXPECT_EQ(window.Selection.Count(), 1);
    }
}

TEST(TreeKeys, CtrlArrowsSkipToBoundNodesWhenNavigating)
{
    KeyTree t;
    TreeWindow& window = t.window;
    {
        ControlHeld control(true);
        Navigating navigating(true);
        window.SelectNode(t.a1, 1, nullptr, false);
        EXPECT_EQ(Key(window, VK_DOWN), 1);
        EXPECT_EQ(window.CurrentNode(), t.b2);
        // Nothing bound above: the selection stays.
        window.SelectNode(t.b1, 1, nullptr, false);
        EXPECT_EQ(Key(window, VK_UP), 1);
        EXPECT_EQ(window.CurrentNode(), t.b1);
    }
    // Without Navigating plain arrows and Home belong to the in-place edit and change nothing.
    ControlHeld control(false);
    Navigating navigating(false);
    window.SelectNode(t.a1, 1, nullptr, false);
    window.Document().SetModified(0);
    EXPECT_EQ(Key(window, VK_DOWN), 0);
    EXPECT_EQ(Key(window, VK_HOME), 0);
    EXPECT_EQ(window.CurrentNode(), t.a1);
    EXPECT_EQ(window.Document().Modified, 0);
}

TEST(TreeKeys, TabSwitchesToTheProbabilityOnlyUnderAChanceNode)
{
    KeyTree t;
    TreeWindow& window = t.window;
    MessageBoxRecorder boxes;
    ControlHeld control(false);
    window.SelectNode(t.a1, 1, nullptr, false);
    EXPECT_EQ(Key(window, VK_TAB), 1);
    EXPECT_EQ(window.EditField, 2);
    EXPECT_EQ(Key(window, VK_RETURN), 1);
    EXPECT_EQ(window.EditField, 1);
    // Enter on the node text is typing.
    EXPECT_EQ(Key(window, VK_RETURN), 0);
    EXPECT_EQ(window.EditField, 1);
    EXPECT_EQ(boxes.Count(), 0u);

    window.SelectNode(t.a, 1, nullptr, false);
    EXPECT_EQ(Key(window, VK_TAB), 1);
    EXPECT_EQ(window.EditField, 1);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "You may only assign a probability to a branch emanating from a chance node.");
}

TEST(TreeSelection, ClicksInsideCloneCopiesAndCollapsedSubtreesSelectTheirTop)
{
    KeyTree t;
    TreeWindow& window = t.window;
    t.b->cloneStatus = CloneCopyNode;
    window.SelectNode(t.b2, 1, nullptr, false);
    EXPECT_EQ(window.CurrentNode(), t.b);
    t.a->collapsed = 1;
    window.SelectNode(t.a1, 1, nullptr, false);
    EXPECT_EQ(window.CurrentNode(), t.a);
    // Extending with a selected node takes it out again.
    window.SelectNode(t.b, 1, nullptr, true);
    window.SelectNode(t.a, 1, nullptr, true);
    ASSERT_EQ(window.Selection.Count(), 1);
    EXPECT_EQ(window.CurrentNode(), t.b);
}

}  // namespace
