// The node-bound value windows as the Values menu opens them: typed into, confirmed with OK, and taken back
// through the tree's undo history.

#include "dialogs/DefineValuesDialog.h"
#include "dialogs/NodeValueWindow.h"
#include "framework/window/MDIframeCL.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/FramedTreeWindow.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class NodeValueWindows : public testing::Test, protected FramedTreeWindow {
protected:
    NodeValueWindows()
    {
        a = tree.AddChild(tree.Root, TerminalNode, "A", "", "1");
        b = tree.AddChild(tree.Root, TerminalNode, "B", "", "2");
        window.EnsureVariable("p", nullptr);
        a->SetBinding("p", "0.5", false);
        b->SetBinding("p", "0.5", false);
        tree.Selection.Add(a);
        tree.Selection.Add(b);
    }

    NodeValueWindow* Open(int command)
    {
        auto previous = DefineValuesDialog::SetPresenter([](DefineValuesDialog& dialog) {
            dialog.chosen.AddText("p");
            return IDOK;
        });
        window.EditTreeVariables(command);
        DefineValuesDialog::SetPresenter(previous);
        const int count = window.ChildWindows().Count();
        return count > 0 ? static_cast<NodeValueWindow*>(window.ChildWindows().At(count - 1)) : nullptr;
    }
    // Types into the field and presses OK.
    void TypeAndConfirm(NodeValueWindow* bound, unsigned field, const char* text)
    {
        SetWindowTextA(GetDlgItem(bound->Handle(), field), text);
        SendMessageA(bound->Handle(), WM_COMMAND, IDOK, 0);
    }
    static std::string Definition(const TreeNode* node)
    {
        const VariableDefinition* binding = node->FindBinding("p", false);
        return binding != nullptr ? binding->definition.Text().Text() : "(none)";
    }

    TreeNode* a;
    TreeNode* b;
};

TEST_F(NodeValueWindows, DefineVariableStoresRemovesAndUndoes)
{
    struct Case {
        const char* typed;
        int answer;                 // to the removal question, when asked
        const char* stored;         // at both nodes afterwards
        bool stillOpen;
        size_t boxes;
    } cases[] = {
        {"0.2+q", 0, "0.2+q", false, 0},
        {"(0.3", 0, "0.5", true, 1},       // a syntax error: shown, nothing stored
        {"", IDCANCEL, "0.5", true, 1},       // removal declined
        {"", IDOK, "(none)", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        boxes.Clear();
        if (c.answer != 0)
            boxes.Answer(c.answer);
        NodeValueWindow* bound = Open(1502);
        ASSERT_NE(bound, nullptr);
        char shown[32] = "";
        GetDlgItemTextA(bound->Handle(), 31011, shown, sizeof shown);
        EXPECT_STREQ(shown, "0.5");
        TypeAndConfirm(bound, 31011, c.typed);
        EXPECT_EQ(Definition(a), c.stored);
        EXPECT_EQ(Definition(b), c.stored);
        EXPECT_EQ(window.ChildWindows().Count(), c.stillOpen ? 1 : 0);
        EXPECT_EQ(boxes.Count(), c.boxes);
        if (c.stillOpen) {
            SendMessageA(bound->Handle(), WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        EXPECT_EQ(tree.Modified, 1);
        window.Undo();
        EXPECT_EQ(Definition(a), "0.5");
        EXPECT_EQ(Definition(b), "0.5");
    }
    EXPECT_EQ(window.ChildWindows().Count(), 0);
}

TEST_F(NodeValueWindows, EnterPayoffChangesTheActivePayoffOfEveryNode)
{
    tree.CalcPrefs.CurrentPayoff = 1;
    a->SetPayoffText("7", 1, false);
    NodeValueWindow* bound = Open(1506);
    ASSERT_NE(bound, nullptr);
    // Two nodes under the Simple method: only the current payoff is shown, empty as the nodes differ.
    for (unsigned field = 31011; field <= 31014; ++field)
        EXPECT_EQ((GetWindowLongA(GetDlgItem(bound->Handle(), field), GWL_STYLE) & WS_VISIBLE) != 0,
                  field == 31012) << field;
    EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(bound->Handle(), 31012)), 0);
    TypeAndConfirm(bound, 31012, "x*2");
    zString text;
    for (TreeNode* node : {a, b}) {
        node->GetPayoffText(text, 1);
        EXPECT_STREQ(text.Text(), "x*2");
        node->GetPayoffText(text, 0);
        EXPECT_STREQ(text.Text(), node == a ? "1" : "2");
    }
    window.Undo();
    a->GetPayoffText(text, 1);
    EXPECT_STREQ(text.Text(), "7");
}

} // namespace
