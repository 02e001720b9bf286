// The tree commands' dialogs as a person meets them on the screen, driven from the commands themselves.

#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include "widgets/MessageOwnerWindow.h"
#include "treewin/DefineNewVariableDialog.h"
#include "treewin/DefineValuesDialog.h"
#include "treewin/DistributeChildrenDialog.h"
#include "treewin/FindReplaceWindow.h"
#include "framework/window/MDIframeCL.h"
#include "treewin/NodeValueWindow.h"
#include "dialogs/NodeValueDialogs.h"
#include "dialogs/NumericFormatDialog.h"
#include "formula/Distribution.h"
#include "formula/RunOutcome.h"
#include "analysis/NodeValueRecord.h"
#include "treewin/RollBackText.h"
#include "tests/support/DialogControls.h"
#include "model/MarkovBinding.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Its modal dialogs take the activation: no other test may check its screen meanwhile.
class TreeDialogsOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    TreeDialogsOnScreen()
    {
        node = tree.AddChild(tree.Root, ChanceNode, "A", "", "");
        window.Selection.Add(node);
    }

    TreeNode* node;
};

TEST_F(TreeDialogsOnScreen, DefineValuesNewVariableAndDistributeChildrenIntoThree)
{
    // The first variable as the tree's default: its window opens at the root.
    window.Document().EnsureVariable("cost", nullptr);
    {
        ModalDialogDriver person;
        person.Then([](DialogFrameCL& dialog) {
            SendDlgItemMessageA(dialog.Handle(), Ctl::DefineValues::ShownList, LB_SETSEL, TRUE, 0);
        });
        person.Press(Cmd::DefineValuesTreeDefault);
        window.RunCommandHandler(Cmd::ValuesDefineValues);
        EXPECT_TRUE(person.Finished());
    }
    ASSERT_EQ(window.ChildWindows().Count(), 1);
    auto* defined = static_cast<NodeValueWindow*>(window.ChildWindows().At(0));
    EXPECT_STREQ(defined->Key().Text(), "cost");
    EXPECT_EQ(defined->Nodes().At(0), tree.Root);

    {
        ModalDialogDriver person;
        person.Type(2001, "rate").Press(IDOK);
        window.DefineNewVariable();
        EXPECT_TRUE(person.Finished());
    }
    ASSERT_NE(window.Document().FindVariable("rate", false), nullptr);

    {
        ModalDialogDriver person;
        person.Type(Ctl::DistributeChildren::NumberOfNewBranchesEdit, "3")
            .Then([](DialogFrameCL& dialog) {
                SendDlgItemMessageA(dialog.Handle(), Ctl::DistributeChildren::BranchSRangeIntoWhichVariableCombo,
                                    CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("rate"));
            })
            .Press(IDOK)
            .Press(2462)  // the uniform distribution's picture
            .Press(IDOK)
            .Press(Ctl::DistributeChildren2560::EqualProbs)
            .Press(IDOK);
        window.DistributeChildren();
        EXPECT_TRUE(person.Finished());
    }
    // Equal probabilities over the uniform range 0 to 1: the middle range is centred on 0.5.
    ASSERT_EQ(node->childCount, 3);
    const char* probabilities[] = {"0.333333", "0.333333", "#"};
    for (int i = 0; i < 3; ++i) {
        TreeNode* child = node->GetChild(i);
        zString probability;
        child->GetProbabilityText(probability);
        EXPECT_STREQ(probability.Text(), probabilities[i]);
        EXPECT_EQ(std::string(child->text.Text()), "Node " + std::to_string(i + 1));
        ASSERT_NE(child->FindBinding("rate", false), nullptr);
    }
    EXPECT_STREQ(node->GetChild(1)->FindBinding("rate", false)->definition.Text().Text(), "0.5");
}

// Each line's marks stand under their headings, a long name's too: the name ends before "Defined", and
// each mark begins where its heading does.
TEST_F(TreeDialogsOnScreen, DefineValuesMarksStandUnderTheirHeadings)
{
    TreeDocument& document = window.Document();
    document.EnsureVariable("Z", nullptr);
    document.EnsureVariable("aVeryLongVariableNameWrittenOut", nullptr);
    node->SetBinding("aVeryLongVariableNameWrittenOut", "1", false);
    document.EnsureVariable("tracked", nullptr)->tFlag = 1;
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        ScreenOnTop raised(dialog.Handle());
        const HWND list = dialog.Control(Ctl::DefineValues::ShownList);
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        UpdateWindow(list);
        std::map<std::string, LONG> lefts;  // the headings' left edges, in the list's client coordinates
        for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[16] = "";
            GetWindowTextA(child, text, sizeof text);
            RECT place{};
            GetWindowRect(child, &place);
            MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&place), 2);
            lefts[text] = place.left;
        }
        const LONG headings[3] = {lefts["Defined"], lefts["Tracker"], lefts["Shown"]};
        RECT client{};
        GetClientRect(list, &client);
        HDC dc = GetDC(list);
        ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
        for (int row = 0; row < 3; ++row) {
            char line[80] = "";
            SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(line));
            const std::string text = line;
            std::vector<LONG> expected;  // a mark's heading for each field after a tab that has text
            size_t h = 0;
            for (size_t tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', tab + 1), ++h)
                if (tab + 1 < text.size() && text[tab + 1] != '\t')
                    expected.push_back(headings[h]);
            // Where runs of inked columns begin (gaps of 3 pixels at most inside a run); the name's first.
            RECT item{};
            SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
            const COLORREF paper = GetPixel(dc, client.right - 2, item.top + 1);
            std::vector<LONG> marks;
            for (LONG x = 2, lastInk = -100; x < client.right - 2; ++x)
                for (LONG y = item.top + 1; y < item.bottom - 1; ++y)
                    if (GetPixel(dc, x, y) != paper) {
                        if (x - lastInk > 4)
                            marks.push_back(x);
                        lastInk = x;
                        break;
                    }
            ASSERT_EQ(marks.size(), expected.size() + 1) << line;
            for (size_t m = 0; m < expected.size(); ++m)
                EXPECT_NEAR(marks[m + 1], expected[m], 2) << line;
        }
        ReleaseDC(list, dc);
        ExpectScreenEqualsRepaint(dialog.Handle());
    });
    person.Press(IDCANCEL);
    window.RunCommandHandler(Cmd::ValuesDefineValues);
    EXPECT_TRUE(person.Finished());
}

// A boundary dragged past its neighbour stops 6 pixels short of it; OK computes the probabilities again.
// The density of the uniform 0 to 0.5 is 2: the scale shows 2.5 above it.
TEST_F(TreeDialogsOnScreen, DistributeChildrenDragsABoundary)
{
    window.Document().EnsureVariable("rate", nullptr);
    RECT strip{};
    ModalDialogDriver person;
    person.Type(Ctl::DistributeChildren::NumberOfNewBranchesEdit, "4")
        .Press(IDOK)
        .Press(2462)
        .Type(2485, "0.5")
        .Press(IDOK);
    person.Then([&](DialogFrameCL& dialog) {
        UpdateWindow(dialog.Handle());
        char top[32] = "";
        GetDlgItemTextA(dialog.Handle(), 2563, top, sizeof top);
        EXPECT_STREQ(top, "2.5");
        HWND markers = dialog.Control(2568);
        GetClientRect(markers, &strip);
        const int width = strip.right;
        // The low end cannot be grabbed; the first inner boundary sits at a quarter of the width.
        for (int x : {0, width / 4}) {
            SendMessageA(markers, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 8));
            SendMessageA(markers, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width, 8));
            SendMessageA(markers, WM_LBUTTONUP, 0, MAKELPARAM(width, 8));
        }
        ExpectScreenEqualsRepaint(dialog.Handle());
    });
    person.Press(IDOK);
    window.DistributeChildren();
    EXPECT_TRUE(person.Finished());
    ASSERT_EQ(node->childCount, 4);
    const double moved = (strip.right / 2 - 6) * 0.5 / strip.right;
    const double values[] = {moved / 2, (moved + 0.25) / 2, 0.3125, 0.4375};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(atof(node->GetChild(i)->FindBinding("rate", false)->definition.Text().Text()), values[i], 1e-6);
    zString probability;
    node->GetChild(0)->GetProbabilityText(probability);
    EXPECT_NEAR(atof(probability.Text()), moved * 2, 1e-5);
    node->GetChild(3)->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "#");
}

// Integers go to the range that holds them, also past a range with none, which keeps its middle as value.
TEST(DistributeChildrenRanges, DiscreteRangesTakeTheIntegersTheyHold)
{
    std::unique_ptr<Distribution> binomial(MakeDistribution(19));
    Expression values[3];
    values[0].SetNumber(1);
    values[1].SetNumber(0.5);
    values[2].SetNumber(4);
    binomial->SetParameters(values);
    DistributeChildrenRangesDialog ranges(*binomial, 4);
    RunFault fault;
    binomial->Range(ranges.low, ranges.high, &fault);
    ranges.boundaries = {0, 0.2, 0.4, 2, 4};
    ranges.ComputeProbabilities();
    const double probabilities[] = {1 / 16.0, 0, 10 / 16.0, 5 / 16.0};
    const double middles[] = {0, 0.3, 1.5, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(ranges.probabilities[i], probabilities[i], 1e-9) << i;
        EXPECT_DOUBLE_EQ(ranges.RangeValue(i), middles[i]) << i;
    }
}

// The places and the scaling chosen under Numeric Formatting are the tree's own: the roll-back boxes and
// the Expected Value message follow them.
TEST_F(TreeDialogsOnScreen, NumericFormatReachesTheRollBackBoxesAndTheValueMessage)
{
    tree.AddChild(node, TerminalNode, "Up", "0.5", "100.2");
    tree.AddChild(node, TerminalNode, "Down", "#", "76");
    const NodeValuePresenter previous = SetNodeValuePresenter(nullptr);
    InstallNodeValueDialogs();
    ModalDialogDriver person;
    person.Type(Ctl::NumericFormattingPreferences::DecimalPlacesEdit, "2").Press(IDOK);
    window.OnCommand(1309);
    window.OnCommand(Cmd::AnalysisRollBack);
    zString box;
    BuildNodeResultText(node, box);
    EXPECT_STREQ(box.Text(), "$88.10");
    person
        .Then([](DialogFrameCL& dialog) {
            const std::string text = TextOf(dialog, Ctl::NodeValue::NodeValueText);
            EXPECT_EQ(text.substr(text.find(" is: ")), " is: $88.10") << text;
        })
        .Press(IDOK);
    window.SelectNode(node, 1, nullptr, false);
    window.OnCommand(ExpectedValueCommand);
    person.Then([](DialogFrameCL& dialog) {
        // "In thousands (K)"
        HWND scale = GetDlgItem(dialog.Handle(), 2320);
        SendMessageA(scale, CB_SETCURSEL, 1, 0);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(2320, CBN_SELCHANGE), reinterpret_cast<LPARAM>(scale));
    }).Press(IDOK);
    window.OnCommand(1309);
    BuildNodeResultText(node, box);
    EXPECT_STREQ(box.Text(), "$0.09K");
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(tree.CalcPrefs.CurrentNumericFormat().expValDigits, 2);
    EXPECT_EQ(tree.Modified, 1);
    SetNodeValuePresenter(previous);
}

TEST_F(TreeDialogsOnScreen, MarkovBindingsAddsABindingToTheFirstState)
{
    TreeNode* markov = tree.AddChild(tree.Root, MarkovNode, "M");
    TreeNode* well = tree.AddChild(markov, ChanceNode, "Well", "0.9");
    tree.AddChild(markov, TerminalNode, "Sick", "#");
    window.SelectNode(well, 1, nullptr, false);
    ModalDialogDriver person;
    person.Press(4352).Type(4341, "Better").Press(IDOK).Press(IDOK);
    window.OnCommand(1420);
    EXPECT_TRUE(person.Finished());
    ASSERT_EQ(well->MarkovBindings()->Count(), 1);
    EXPECT_STREQ(well->MarkovBindings()->At(0)->target.Text(), "Well");
    EXPECT_STREQ(well->MarkovBindings()->At(0)->userName.Text(), "Better");
}

TEST_F(TreeDialogsOnScreen, SelectIfChanceNodesSelectsThem)
{
    TreeNode* chance = tree.AddChild(node, ChanceNode, "C");
    tree.AddChild(chance, TerminalNode, "T");
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        // The node type page's "&Chance" button, inside the page.
        HWND button = nullptr;
        for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child != nullptr && button == nullptr;
             child = GetWindow(child, GW_HWNDNEXT))
            button = GetDlgItem(child, 2071);
        ASSERT_NE(button, nullptr);
        SendMessageA(button, BM_CLICK, 0, 0);
    });
    person.Press(IDOK);
    window.OnCommand(1415);
    EXPECT_TRUE(person.Finished());
    ASSERT_EQ(window.Selection.Count(), 2);
    EXPECT_EQ(window.Selection.At(0), node);
    EXPECT_EQ(window.Selection.At(1), chance);
}

} // namespace

// A message box shown while a program dialog runs belongs to that dialog, so closing the box gives the
// activation back to it rather than to the window behind.
TEST_F(TreeDialogsOnScreen, MessageBoxesBelongToTheRunningDialog)
{
    HWND running = nullptr;
    HWND owner = nullptr;
    ModalDialogDriver person;
    person.Then([&](DialogFrameCL& dialog) {
        running = dialog.Handle();
        owner = MessageOwnerWindow();
        SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    FindOptionsDialog options;
    options.Run();
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(owner, running);
}
