// The node-bound value windows as the Values menu opens them: typed into, confirmed with OK, and taken back
// through the tree's undo history.

#include "treewin/DefineValuesDialog.h"
#include "treewin/NodeValueWindow.h"
#include "framework/window/MDIframeCL.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"
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
        window.Document().EnsureVariable("p", nullptr);
        a->SetBinding("p", "0.5", false);
        b->SetBinding("p", "0.5", false);
        window.Selection.Add(a);
        window.Selection.Add(b);
    }

    NodeValueWindow* Open(int command)
    {
        auto previous = DefineValuesDialog::SetPresenter([](DefineValuesDialog& dialog) {
            dialog.chosen.AddText("p");
            return IDOK;
        });
        window.RunCommandHandler(static_cast<unsigned>(command));
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

// A field left empty only because the nodes differ, and not touched, keeps each node's own text.
TEST_F(NodeValueWindows, AFieldEmptyOnlyBecauseTheNodesDifferIsNotWritten)
{
    tree.CalcPrefs.CalcMethod = MultiAttributeMethod; // every payoff shown for both nodes
    const struct {
        int command;
        void (*set)(TreeNode*, const char*);
        void (*get)(TreeNode*, zString&);
    } windows[] = {
        {1506, [](TreeNode* n, const char* t) { n->SetPayoffText(t, 0, false); },
         [](TreeNode* n, zString& out) { n->GetPayoffText(out, 0); }},
        {1507, [](TreeNode* n, const char* t) { n->SetMarkovRewardText(1, t, 0); },
         [](TreeNode* n, zString& out) { n->GetMarkovRewardText(1, out, 0); }},
        {1512, [](TreeNode* n, const char* t) { n->SetMarkovTransitionReward(t, 0); },
         [](TreeNode* n, zString& out) { n->GetMarkovTransitionReward(out, 0); }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.command);
        w.set(a, "3");
        w.set(b, "4");
        NodeValueWindow* bound = Open(w.command);
        ASSERT_NE(bound, nullptr);
        SendMessageA(bound->Handle(), WM_COMMAND, IDOK, 0);
        zString text;
        w.get(a, text);
        EXPECT_STREQ(text.Text(), "3");
        w.get(b, text);
        EXPECT_STREQ(text.Text(), "4");
        EXPECT_EQ(window.ChildWindows().Count(), 0);
    }
}

class MarkovWindows : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    MarkovWindows()
    {
        frame.Show(SW_SHOW);
        markov = tree.AddChild(tree.Root, MarkovNode, "M");
        first = tree.AddChild(markov, TerminalNode, "Well", "0.5");
        second = tree.AddChild(markov, TerminalNode, "Sick", "0.5");
    }
    NodeValueWindow* Open(int command, std::initializer_list<TreeNode*> nodes)
    {
        window.ClearSelection();
        for (TreeNode* node : nodes)
            window.Selection.Add(node);
        window.RunCommandHandler(static_cast<unsigned>(command));
        const int count = window.ChildWindows().Count();
        return count > 0 ? static_cast<NodeValueWindow*>(window.ChildWindows().At(count - 1)) : nullptr;
    }
    static std::string Text(HWND control)
    {
        char text[128] = "";
        GetWindowTextA(control, text, sizeof text);
        return text;
    }
    static void ChoosePage(NodeValueWindow* bound, int page)
    {
        SendMessageA(bound->Control(31027), CB_SETCURSEL, page, 0);
        SendMessageA(bound->Handle(), WM_COMMAND, MAKEWPARAM(31027, CBN_SELCHANGE), LPARAM(bound->Control(31027)));
    }

    TreeNode* markov;
    TreeNode* first;
    TreeNode* second;
};

TEST_F(MarkovWindows, TerminationPagesFallBackAndRefuseAnError)
{
    const char* const kDefault = "_stage > 10 & (_stage > 100 | _stage_reward < .001)";
    markov->SetMarkovTerminationText("_stage > 5", 0);
    markov->SetMarkovTerminationText("_stage > 7", 2);
    NodeValueWindow* bound = Open(1508, {markov});
    ASSERT_NE(bound, nullptr);
    const HWND edit = bound->Control(31011);
    EXPECT_EQ(SendMessageA(bound->Control(31027), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(Text(bound->Control(31028)), "1");
    const struct {
        int page;
        const char* typed; // before the change; null: nothing typed
        const char* shown;
        int pageAfter;
    } steps[] = {
        {1, nullptr, "_stage > 5", 1},   // no text of its own: the page just left
        {2, "(_stage", "(_stage", 1},    // a syntax error: the list returns to the page
        {2, "_stage > 6", "_stage > 7", 2}, // the node's own text
        {3, "", kDefault, 3},            // page 2 emptied, nothing anywhere: the default condition
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        if (step.typed != nullptr)
            SetWindowTextA(edit, step.typed);
        ChoosePage(bound, step.page);
        EXPECT_EQ(Text(edit), step.shown);
        EXPECT_EQ(SendMessageA(bound->Control(31027), CB_GETCURSEL, 0, 0), step.pageAfter);
    }
    EXPECT_EQ(boxes.Count(), 1u);
    SetWindowTextA(edit, "_stage > 9");
    SendMessageA(bound->Handle(), WM_COMMAND, IDOK, 0);
    zString text;
    const char* const stored[4] = {"_stage > 5", "_stage > 6", "", "_stage > 9"};
    for (int page = 0; page < 4; ++page) {
        markov->GetMarkovTerminationText(text, page);
        EXPECT_STREQ(text.Text(), stored[page]);
    }
    window.Undo();
    markov->GetMarkovTerminationText(text, 3);
    EXPECT_STREQ(text.Text(), "");

    // Under Cost-Effectiveness the one page "C/E" holds the shared condition; Use Default restores it.
    tree.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    bound = Open(1508, {markov});
    ASSERT_EQ(SendMessageA(bound->Control(31027), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(Text(bound->Control(31027)), "C/E");
    EXPECT_EQ(Text(bound->Control(31028)), "1 / 2");
    SetWindowTextA(bound->Control(31011), "1");
    SendMessageA(bound->Handle(), WM_COMMAND, 31020, 0);
    EXPECT_EQ(Text(bound->Control(31011)), "_stage > 10 & (_stage > 100 | _stage_eff < .001)");
    SendMessageA(bound->Handle(), WM_COMMAND, IDOK, 0);
    markov->GetMarkovSharedTermination(text);
    EXPECT_STREQ(text.Text(), "_stage > 10 & (_stage > 100 | _stage_eff < .001)");
}

TEST_F(MarkovWindows, TheTunnelOfOneState)
{
    NodeValueWindow* bound = Open(1507, {first, second});
    ASSERT_NE(bound, nullptr);
    // Several states: no tunnel, and it cannot be set.
    EXPECT_FALSE(IsWindowEnabled(bound->Control(31029)));
    EXPECT_EQ(Text(bound->Control(31030)), "2");
    SendMessageA(bound->Handle(), WM_COMMAND, IDCANCEL, 0);

    first->SetMarkovTunnelCount(0, false);
    bound = Open(1507, {first});
    EXPECT_EQ(IsDlgButtonChecked(bound->Handle(), 31029), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(bound->Control(31030)));
    EXPECT_EQ(Text(bound->Control(31030)), "2");
    SendMessageA(bound->Control(31029), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(bound->Control(31030)));
    ChoosePage(bound, 2);
    ExpectScreenEqualsRepaint(bound->Handle());
    SetWindowTextA(bound->Control(31030), "5");
    SendMessageA(bound->Handle(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(first->markovInfo->tunnelCount, 4);
}

} // namespace
