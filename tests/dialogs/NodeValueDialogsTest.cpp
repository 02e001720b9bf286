// The node value, over/under and EVPI dialogs on the screen, answered as a person would.

#include "analysis/EvpiCalculation.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/OverUnderAnalysis.h"
#include "dialogs/NodeValueDialogs.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/DialogControls.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The dialogs installed for the test's lifetime, the headless presenters and chooser given back after it.
struct NodeValueScreen : OnScreen {
    MessageBoxRecorder boxes;
    NodeValuePresenter nodeValues = SetNodeValuePresenter(nullptr);
    EvpiPresenter evpiValues = SetEvpiPresenter(nullptr);
    OverUnderPresenter overUnder = SetOverUnderPresenter(nullptr);
    EvpiChooser chooser = SetEvpiChooser({});
    NodeValueScreen()
    {
        InstallNodeValueDialogs();
    }
    ~NodeValueScreen()
    {
        SetNodeValuePresenter(nodeValues);
        SetEvpiPresenter(evpiValues);
        SetOverUnderPresenter(overUnder);
        SetEvpiChooser(chooser);
    }
};

// Outcomes 10, 20, 30 at 0.2, 0.5, 0.3 and target 20: ticked, the target counts below; unticked, above.
TEST(NodeValueDialogs, OverUnderAsksTheTargetAndShowsBothSides)
{
    NodeValueScreen screen;
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "Outcome");
    tree.Terminal(chance, "Low", "0.2", "10");
    tree.Terminal(chance, "Mid", "0.5", "20");
    tree.Terminal(chance, "High", "0.3", "30");
    ModalDialogDriver driver;
    driver.Type(Ctl::OverUnder::EnterATargetValueEdit, "20")
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::OverUnder3215::AboveValueText), "0.300");
            EXPECT_EQ(TextOf(dialog, Ctl::OverUnder3215::BelowValueText), "0.700");
            EXPECT_EQ(TextOf(dialog, Ctl::OverUnder3215::ProbabilityBelowTargetText),
                      "Probability at or below target:");
        })
        .Press(IDOK)
        .Type(Ctl::OverUnder::EnterATargetValueEdit, "20")
        .Then([](DialogFrameCL& dialog) {
            SendMessageA(dialog.FindChild(Ctl::OverUnder::IncludeTargetInLowerRange)->Handle(), BM_CLICK, 0, 0);
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::OverUnder3215::AboveValueText), "0.800");
            EXPECT_EQ(TextOf(dialog, Ctl::OverUnder3215::ProbabilityAboveTargetText),
                      "Probability at or above target:");
        })
        .Press(IDOK);
    OverUnderDialog::Run(chance);
    OverUnderDialog::Run(chance);
    EXPECT_TRUE(driver.Finished());
}

// Three selected nodes: the sum in words; one decision node: its value and optimal choice.
TEST(NodeValueDialogs, ExpectedValueInWords)
{
    NodeValueScreen screen;
    TreeBuilder tree;
    TreeNode* a = tree.Terminal(tree.Root(), "A", "", "10");
    TreeNode* b = tree.Terminal(tree.Root(), "B", "", "20");
    TreeNode* c = tree.Terminal(tree.Root(), "C", "", "30");
    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::NodeValue::NodeValueText),
                      "The sum of the expected values of the selected nodes is: $60");
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            // A root without a name (as a tree converted from a diagram has) is told by its place.
            EXPECT_EQ(TextOf(dialog, Ctl::NodeValue::NodeValueText), "The expected value of\nthe unnamed root node is: $30");
            EXPECT_EQ(TextOf(dialog, Ctl::NodeValue::OptimalChoiceText), "Optimal Choice: C");
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::NodeValue::NodeValueText), "The expected value of node\n\"Choice\" is: $30");
        })
        .Press(IDOK);
    NodeChildList selection(4, Ownership::Borrows);
    for (TreeNode* node : {a, b, c})
        selection.Add(node);
    DisplayAnyVal(&tree.Document(), ExpectedValueCommand, selection);
    selection.RemoveAll();
    selection.Add(tree.Root());
    DisplayAnyVal(&tree.Document(), ExpectedValueCommand, selection);
    tree.Root()->SetText("Choice", false);
    DisplayAnyVal(&tree.Document(), ExpectedValueCommand, selection);
    EXPECT_TRUE(driver.Finished());
}

// Two decisions above the event: the nearest is proposed, "Other Node..." lists both and the outer one is
// taken; a sibling event within a tenth is offered first. The value shows in words.
TEST(NodeValueDialogs, EvpiAsksForTheEventAndTheDecision)
{
    NodeValueScreen screen;
    TreeBuilder tree;
    tree.Root()->kind = DecisionNode;
    TreeNode* inner = tree.Add(tree.Root(), DecisionNode, "Inner");
    TreeNode* event = tree.Add(inner, ChanceNode, "A");
    tree.Terminal(event, "Good", "0.4", "100");
    tree.Terminal(event, "Bad", "0.6", "0");
    TreeNode* sibling = tree.Add(inner, ChanceNode, "Twin");
    tree.Terminal(sibling, "Good", "0.45", "0");
    tree.Terminal(sibling, "Bad", "0.55", "0");
    tree.Terminal(inner, "B", "", "50");
    tree.Terminal(tree.Root(), "Outer B", "", "40");
    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(
                SendMessageA(
                    dialog
                        .FindChild(
                            Ctl::EVPI::EquivalentNodesList)
                        ->Handle(),
                    LB_GETCOUNT, 0, 0),
                1);
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::EVPI3420::TheEVPIWillBeCalculatedWithRespectToTheDecisionNodeText), "Inner");
        })
        .Press(Ctl::EVPI3420::OtherNode)
        .Then([](DialogFrameCL& dialog) {
            HWND list = dialog.FindChild(Ctl::EVPI3380::AtWhichDecisionNodeDoYouWishToCalculateTheEVPIList)->Handle();
            EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
            SendMessageA(list, LB_SETCURSEL, 1, 0);
            SendMessageA(dialog.Handle(), WM_COMMAND,
                         MAKEWPARAM(Ctl::EVPI3380::AtWhichDecisionNodeDoYouWishToCalculateTheEVPIList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::NodeValue::NodeValueText),
                      "The expected value of perfect information is: $20");
        })
        .Press(IDOK);
    NodeChildList selection(1, Ownership::Borrows);
    selection.Add(event);
    DisplayAnyVal(&tree.Document(), EvpiCommand, selection);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(screen.boxes.Count(), 0u);
}

}  // namespace
