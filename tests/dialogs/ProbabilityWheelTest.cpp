#include "widgets/MimicRunTime.h"
#include "treewin/ProbabilityWheel.h"
#include "framework/dialog/DialogFrameCL.h"
#include "model/BranchNameList.h"
#include "model/NodeComment.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/DescendantControl.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeChildWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kSmallest = 0.001 / 6.283185307;

// Typed values and dragged borders, with and without proportions kept, against shares worked by hand.
TEST(ProbabilityWheelShares, TypedValuesAndBordersMoveTheSlices)
{
    const struct {
        bool typed;  // SetShare, else MoveBorder
        bool keep;
        size_t k;
        double to;
        std::vector<double> expected;  // empty: refused, nothing changes
    } cases[] = {
        {true, false, 1, 0.4, {0.2, 0.4, 0.4}},                  // the last slice gives what it has
        {true, false, 1, 0.85, {}},                              // more than the last slice holds
        {true, true, 1, 0.5, {1 / 7.0, 0.5, 2.5 / 7}},            // the others in proportion
        {false, false, 0, 0.45, {0.45, 0.05, 0.5}},               // between its neighbours
        {false, false, 0, 0.9, {0.5 - kSmallest, kSmallest, 0.5}},  // stops short of the next border
        {false, true, 0, 0.6, {0.6, 0.15, 0.25}},                 // each side scaled as a whole
    };
    for (const auto& c : cases) {
        NameList names(4, true);
        ProbabilityWheelDialog wheel({0.2, 0.3, 0.5}, names, nullptr);
        wheel.keepProportions = c.keep;
        const std::vector<double> expected = c.expected.empty() ? wheel.shares : c.expected;
        if (c.typed)
            EXPECT_EQ(wheel.SetShare(c.k, c.to), !c.expected.empty());
        else
            wheel.MoveBorder(c.k, c.to);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(wheel.shares[i], expected[i], 1e-12) << c.k << " to " << c.to << " slice " << i;
    }
}

class WheelOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    WheelOnScreen()
    {
        window.Document().EnsureVariable("p", nullptr);
        tree.Root->SetBinding("p", "0.2", false);
        node = tree.AddChild(tree.Root, ChanceNode, "C");
        for (const char* probability : {"p", "0.3", "#"})
            tree.AddChild(node, TerminalNode, (std::string("Outcome ") + probability).c_str(), probability);
        window.Selection.Add(node);
    }
    std::string Probability(int i) const
    {
        zString text;
        node->GetChild(i)->GetProbabilityText(text);
        return text.Text();
    }
    static std::string Text(HWND control)
    {
        char text[64] = "";
        GetWindowTextA(control, text, sizeof text);
        return text;
    }
    static HWND Find(DialogFrameCL& dialog, unsigned id) { return FindDescendant(dialog.Handle(), id); }
    static std::string Boxes(DialogFrameCL& dialog)
    {
        std::string texts;
        for (unsigned k = 0; k < 3; ++k)
            texts += (k > 0 ? " " : "") + Text(Find(dialog, DialogRes::SnapshotFormat + k));
        return texts;
    }
    static void Choose(DialogFrameCL& dialog, unsigned row, const char* target)
    {
        const HWND list = Find(dialog, DialogRes::AddOutcomes + row);
        SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_FINDSTRINGEXACT, -1, LPARAM(target)), 0);
    }

    TreeNode* node;
};

// The pie's point at a cumulative share, `out` inches beyond its rim (inside it when negative): 0.1 inch out
// is the middle of the border handle there.
POINT PieAt(HWND pie, double share, double out)
{
    RECT client;
    GetClientRect(pie, &client);
    HDC dc = GetDC(pie);
    const double inch = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(pie, dc);
    const double radius = std::min(client.right, client.bottom) / 2.0 - 0.18 * inch + out * inch;
    return POINT{static_cast<LONG>(std::lround(client.right / 2.0 + radius * std::sin(6.283185307 * share))),
                 static_cast<LONG>(std::lround(client.bottom / 2.0 - radius * std::cos(6.283185307 * share)))};
}

LPARAM Packed(POINT point)
{
    return MAKELPARAM(point.x, point.y);
}

TEST_F(WheelOnScreen, ValueBoxesDragsProportionsAndTheStoreColumn)
{
    ModalDialogDriver person;
    person.Then([&](DialogFrameCL& dialog) {
        EXPECT_EQ(Boxes(dialog), "0.20 0.30 0.50");
        // A typed value resizes its slice; the last shows what the others leave, as they show.
        SetWindowTextA(Find(dialog, DialogRes::SnapshotFormat + 1), "0.4");
        EXPECT_EQ(Boxes(dialog), "0.20 0.4 0.40");
        // A press on the second slice shows its value; the right button what it was.
        const HWND valueBox = Find(dialog, ProbabilityWheelDialog::kValueBox);
        const HWND pie = GetParent(valueBox);
        for (const auto& press : {std::pair<UINT, const char*>{WM_LBUTTONDOWN, "0.40"}, {WM_RBUTTONDOWN, "Was: 0.30"}}) {
            SendMessageA(pie, press.first, 0, Packed(PieAt(pie, 0.4, -0.1)));
            EXPECT_TRUE(IsWindowVisible(valueBox));
            EXPECT_EQ(Text(valueBox), press.second);
            ExpectScreenEqualsRepaint(dialog.Handle());
            SendMessageA(pie, press.first + 1, 0, Packed(PieAt(pie, 0.4, -0.1)));
            EXPECT_FALSE(IsWindowVisible(valueBox));
        }
        ScreenOnTop raised(dialog.Handle());
        // Over the wheel the pointer is the wheel cursor, beside it the arrow.
        const HCURSOR wheelCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(32101));
        ASSERT_NE(wheelCursor, nullptr);
        for (const auto& place : {std::pair<POINT, HCURSOR>{PieAt(pie, 0.2, -0.05), wheelCursor},
                                  {POINT{1, 1}, LoadCursorA(nullptr, IDC_ARROW)}}) {
            RealInput::Move(RealInput::OnScreen(pie, place.first));
            EXPECT_TRUE(PumpMessagesUntil([&] { return GetCursor() == place.second; }, 3000));
        }
        // The first border's handle dragged back to 0.1 turn; the boxes follow. Inside the wheel, a press
        // by its border shows a value and moves nothing.
        RealInput::Drag(RealInput::OnScreen(pie, PieAt(pie, 0.2, 0.1)), RealInput::OnScreen(pie, PieAt(pie, 0.1, 0.1)));
        EXPECT_TRUE(PumpMessagesUntil([&] { return Boxes(dialog) == "0.10 0.50 0.40"; }, 5000)) << Boxes(dialog);
        ExpectScreenEqualsRepaint(dialog.Handle());
        RealInput::Drag(RealInput::OnScreen(pie, PieAt(pie, 0.1, -0.05)),
                        RealInput::OnScreen(pie, PieAt(pie, 0.3, -0.05)));
        EXPECT_TRUE(PumpMessagesUntil([&] { return IsWindowVisible(valueBox) != FALSE; }, 3000));
        EXPECT_TRUE(PumpMessagesUntil([&] { return !IsWindowVisible(valueBox); }, 3000));
        EXPECT_EQ(Boxes(dialog), "0.10 0.50 0.40");
        // Keeping proportions, the others shrink together.
        CheckDlgButton(dialog.Handle(), Ctl::ProbabilityWheel::KeepProportions, BST_CHECKED);
        SendMessageA(dialog.Handle(), WM_COMMAND, Ctl::ProbabilityWheel::KeepProportions, 0);
        SetWindowTextA(Find(dialog, DialogRes::SnapshotFormat), "0.55");
        EXPECT_EQ(Boxes(dialog), "0.55 0.25 0.20");
        ExpectScreenEqualsRepaint(dialog.Handle());
        // Two branches stored as the remainder: refused, the dialog stays.
        Choose(dialog, 1, "#");
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "You may use \"#\" for storing only one probability.");
        Choose(dialog, 1, " (Numerically)");
    });
    person.Press(IDOK);
    window.RunCommandHandler(Cmd::ValuesProbabilityWheel);
    EXPECT_TRUE(person.Finished());
    // Stored as displayed: the variable at its branch, the number, the remainder.
    EXPECT_EQ(Probability(0) + " " + Probability(1) + " " + Probability(2), "p 0.25 #");
    EXPECT_STREQ(node->GetChild(0)->FindBinding("p", false)->definition.Text().Text(), "0.55");
    window.Undo();
    EXPECT_EQ(Probability(1), "0.3");
    EXPECT_EQ(node->GetChild(0)->FindBinding("p", false), nullptr);
}

// As its end user: the wheel only for a node that binds the variables its probabilities begin with, and
// without the store column.
TEST_F(WheelOnScreen, MimicRunTimeLimitsTheWheel)
{
    window.OnCommand(Cmd::OptionsMimicRunTime);
    ASSERT_TRUE(IsMimicRunTime());
    window.RunCommandHandler(Cmd::ValuesProbabilityWheel);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The probabilities for this node may not be set using the wheel. Check with the "
                                 "tree designer for details.");
    node->SetBinding("p", "0.2", false);
    // The node's comment opens from the wheel.
    auto* remark = new BranchName;
    remark->comment = "from the trial";
    node->GetExtraList()->branches.Add(remark);
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        EXPECT_NE(Find(dialog, DialogRes::SnapshotFormat), nullptr);
        EXPECT_EQ(Find(dialog, DialogRes::AddOutcomes), nullptr);
        EXPECT_TRUE(IsWindowVisible(Find(dialog, Ctl::ProbabilityWheel::Comment)));
        PostMessageA(dialog.Handle(), WM_COMMAND, Ctl::ProbabilityWheel::Comment, 0);
    });
    person.Then([](DialogFrameCL& comment) {
        EXPECT_EQ(DialogFrameCL::ModalStack().size(), 2u);
        SendMessageA(comment.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(DialogFrameCL::ModalStack().size(), 1u);
        PostMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    window.RunCommandHandler(Cmd::ValuesProbabilityWheel);
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(boxes.Count(), 1u);
    window.OnCommand(Cmd::OptionsMimicRunTime);
    EXPECT_FALSE(IsMimicRunTime());
}

// Ctrl+W in a Define Variable window: two slices from the value; OK puts the new one, as shown, in the edit,
// where the tree's next write takes it as typed.
TEST_F(WheelOnScreen, DefineVariableWindowAssessesItsValue)
{
    window.OpenNodeValueWindow(node->GetChild(1), "p");
    ASSERT_EQ(window.ChildWindows().Count(), 1);
    auto* bound = static_cast<TreeChildWindow*>(window.ChildWindows().At(0));
    const HWND edit = bound->Control(31011);
    SetWindowTextA(edit, "0.3");
    SetFocus(edit);
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(Text(Find(dialog, DialogRes::SnapshotFormat)) + " " +
                      Text(Find(dialog, DialogRes::SnapshotFormat + 1)),
                  "0.30 0.70");
        EXPECT_FALSE(IsWindowVisible(dialog.Control(Ctl::ProbabilityWheel::KeepProportions)));
        SetWindowTextA(Find(dialog, DialogRes::SnapshotFormat), "0.456");
    });
    person.Press(IDOK);
    SendMessageA(bound->Handle(), WM_COMMAND, 1513, 0);
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(Text(edit), "0.46");
    ASSERT_TRUE(window.EndOpenEdits());
    const auto* definition = node->GetChild(1)->FindBinding("p", false);
    ASSERT_NE(definition, nullptr);
    EXPECT_STREQ(definition->definition.Text().Text(), "0.46");
}

} // namespace
