// Variable Properties and the correlations of a variable, as a person meets them from Define Values.

#include "widgets/NamePopupMenu.h"
#include "treewin/DefineValuesDialog.h"
#include "treewin/NodeValueWindow.h"
#include "treewin/VariableCorrelationsDialog.h"
#include "treewin/VariablePropertiesDialog.h"
#include "formula/CorrelationList.h"
#include "formula/FormulaRef.h"
#include "model/EvalContext.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/TreeNode.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Ticks a check box or radio button as a click does.
ModalDialogDriver::Step Click(unsigned id)
{
    return [id](DialogFrameCL& dialog) {
        SendMessageA(dialog.Control(id), BM_CLICK, 0, 0);
    };
}

class VariablePropertiesOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    VariablePropertiesOnScreen()
    {
        for (const char* name : {"cost", "rate"})
            window.Document().EnsureVariable(name, nullptr);
        tree.Root->SetBinding("rate", "0.1", false);
        leaf = tree.AddChild(tree.Root, TerminalNode, "A", "", "rate*2");
    }

    // Define Values with the variable's line selected, then its Properties; the steps go on in Variable
    // Properties, and Define Values is cancelled after them.
    void InProperties(int line, const std::vector<ModalDialogDriver::Step>& steps)
    {
        ModalDialogDriver person;
        person.Then([line](DialogFrameCL& dialog) {
            const HWND list = dialog.Control(Ctl::DefineValues::ShownList);
            SendMessageA(list, LB_SETSEL, FALSE, -1);
            SendMessageA(list, LB_SETSEL, TRUE, line);
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::DefineValues::ShownList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        });
        person.Press(Ctl::DefineValues::Properties);
        for (const auto& step : steps)
            person.Then(step);
        person.Press(IDCANCEL);
        window.RunCommandHandler(Cmd::ValuesDefineValues);
        EXPECT_TRUE(person.Finished());
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : boxes.Boxes())
            texts.push_back(box.text);
        return texts;
    }

    TreeNode* leaf;
};

TEST_F(VariablePropertiesOnScreen, RangeAndRenameFollowedEverywhere)
{
    window.OpenNodeValueWindow(tree.Root, "rate");
    std::string caption;
    auto type = [](unsigned id, const char* text) {
        return [id, text](DialogFrameCL& dialog) { SetWindowTextA(dialog.Control(id), text); };
    };
    auto press = [](unsigned id) {
        return [id](DialogFrameCL& dialog) {
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        };
    };
    using D = VariablePropertiesDialog;
    // Low 6, high 5 is refused; 5 and 5 pass, with no range; the same name in capitals is no rename.
    InProperties(1,
                 {[&](DialogFrameCL& dialog) { caption = Text(dialog.Handle()); },
                  type(Ctl::VariableProperties::LowValueEdit, "6"), type(Ctl::VariableProperties::HighValueEdit, "5"),
                  press(IDOK), type(Ctl::VariableProperties::LowValueEdit, "5"),
                  type(Ctl::VariableProperties::NameEdit, "COST"), press(IDOK),
                  type(Ctl::VariableProperties::NameEdit, "RATE"), press(IDOK)});
    EXPECT_EQ(caption, "Properties: rate");
    const std::vector<std::string> refusals = {
        "To assign a range, the high value must be greater than the low value.",
        "That name has already been used by a variable or table."};
    EXPECT_EQ(BoxTexts(), refusals);
    ASSERT_NE(window.Document().FindVariable("rate", false), nullptr);
    EXPECT_EQ(window.Document().FindVariable("rate", false)->hasRange, 0);

    // A real rename asks, then formulas, bindings, bound windows and the variables menu follow.
    boxes.Clear();
    tree.SetModified(0);
    InProperties(1,
                 {type(Ctl::VariableProperties::NameEdit, "growth"), type(Ctl::VariableProperties::LowValueEdit, "1"),
                  type(Ctl::VariableProperties::HighValueEdit, "3"), press(IDOK)});
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Are you sure you want to rename this variable?"});
    EXPECT_EQ(window.Document().FindVariable("rate", false), nullptr);
    const DocVariable* growth = window.Document().FindVariable("growth", false);
    ASSERT_NE(growth, nullptr);
    EXPECT_EQ(growth->hasRange, 1);
    EXPECT_STREQ(growth->high.text.Text(), "3");
    zString payoff;
    leaf->GetPayoffText(payoff, 0);
    EXPECT_STREQ(payoff.Text(), "growth*2");
    EXPECT_NE(tree.Root->FindBinding("growth", false), nullptr);
    ASSERT_EQ(window.ChildWindows().Count(), 1);
    EXPECT_STREQ(static_cast<NodeValueWindow*>(window.ChildWindows().At(0))->Key().Text(), "growth");
    zString item;
    ASSERT_NE(window.VariablesMenu, nullptr);
    EXPECT_TRUE(window.VariablesMenu->ItemText(Cmd::FirstVariable + 1, item));
    EXPECT_STREQ(item.Text(), "growth");
    EXPECT_EQ(tree.Modified, 1);
}

TEST_F(VariablePropertiesOnScreen, NewVariablesTrackersAndMore)
{
    using D = VariablePropertiesDialog;
    std::string caption;
    std::string cancelText;
    ModalDialogDriver person;
    person.Press(Cmd::DefineValuesNewVariable)
        .Then([&](DialogFrameCL& dialog) { caption = Text(dialog.Handle()); })
        // A new variable may not take a used name, nor overwrite its record.
        .Type(Ctl::VariableProperties::NameEdit, "cost")
        .Type(Ctl::VariableProperties::DescriptionEdit, "taken")
        .Press(IDOK)
        .Type(Ctl::VariableProperties::NameEdit, "p")
        .Then(Click(Ctl::VariableProperties::UseAsMonteCarloTracker))
        .Type(Ctl::VariableProperties::InitialValueEdit, "3")
        .Press(Ctl::VariableProperties::More)
        .Then([&](DialogFrameCL& dialog) {
            cancelText = Text(dialog.Control(IDCANCEL));
            ExpectScreenEqualsRepaint(dialog.Handle());
        })
        .Type(Ctl::VariableProperties::NameEdit, "q")
        .Type(Ctl::VariableProperties::LowValueEdit, "1")
        .Type(Ctl::VariableProperties::HighValueEdit, "2")
        .Press(IDOK)
        .Press(IDCANCEL);
    window.RunCommandHandler(Cmd::ValuesDefineValues);
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(caption, "Properties: New Variable");
    EXPECT_EQ(cancelText, "&Close");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "That name has already been used by a variable or table.");
    EXPECT_TRUE(window.Document().FindVariable("cost", false)->shortDescription.IsEmpty());
    const DocVariable* p = window.Document().FindVariable("p", false);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->tFlag, 1);
    EXPECT_FLOAT_EQ(p->tValue1, 3.0f);
    const DocVariable* q = window.Document().FindVariable("q", false);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->hasRange, 1);
    EXPECT_EQ(q->tFlag, 0);

    // An existing tracker opens with its tracker box, definition, low and high disabled; a defined variable
    // cannot become one.
    std::vector<bool> enabled;
    boxes.Clear();
    InProperties(1,
                 {[&](DialogFrameCL& dialog) {
                      for (unsigned id :
                           {Ctl::VariableProperties::UseAsMonteCarloTracker, Ctl::VariableProperties::InitialValueEdit,
                            Ctl::VariableProperties::DefineNumerically, Ctl::VariableProperties::LowValueEdit})
                          enabled.push_back(IsWindowEnabled(dialog.Control(id)) != 0);
                  },
                  [](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0); }});
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false, false}));
    InProperties(3,
                 {[](DialogFrameCL& dialog) {
                      CheckDlgButton(dialog.Handle(), Ctl::VariableProperties::DefineNumerically, BST_UNCHECKED);
                  },
                  [](DialogFrameCL& dialog) {
                      SendMessageA(dialog.Handle(), WM_COMMAND,
                                   MAKEWPARAM(Ctl::VariableProperties::DefineNumerically, BN_CLICKED), 0);
                  },
                  Click(Ctl::VariableProperties::UseAsMonteCarloTracker),
                  [](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0); },
                  [](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0); }});
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "You cannot change this variable's tracker flag because it has definitions. You "
                                 "must delete the definitions before proceeding.");
    EXPECT_EQ(window.Document().FindVariable("rate", false)->tFlag, 0);
}

// A formula naming an unknown variable offers to make it: Yes opens its properties under that name.
TEST_F(VariablePropertiesOnScreen, FormulaQuestionOpensThePropertiesOfTheNewName)
{
    std::string caption;
    bool nameFixed = false;
    ModalDialogDriver person;
    person
        .Then([&](DialogFrameCL& dialog) {
            caption = Text(dialog.Handle());
            nameFixed = !IsWindowEnabled(dialog.Control(Ctl::VariableProperties::NameEdit));
        })
        .Type(Ctl::VariableProperties::DescriptionEdit, "Growth per year")
        .Press(IDOK);
    FormulaRef formula(new EvalContext(&tree, leaf), 0, "payoff");
    formula.EvaluateText("growth*2");
    EXPECT_TRUE(person.Finished());
    EXPECT_FALSE(formula.HasError());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The variable \"growth\" is not defined. Do you want to create a variable with that "
                                 "name?");
    EXPECT_EQ(caption, "Properties: growth");
    EXPECT_TRUE(nameFixed);
    const DocVariable* growth = window.Document().FindVariable("growth", false);
    ASSERT_NE(growth, nullptr);
    EXPECT_STREQ(growth->shortDescription.Text(), "Growth per year");
}

// A negative correlation with Q, whose own list holds R positive and S negative, carried over: Q -, R -, S +.
TEST_F(VariablePropertiesOnScreen, CorrelationsDuplicatedWithTheirSigns)
{
    for (const char* name : {"Q", "R", "S"})
        window.Document().EnsureVariable(name, nullptr);
    CorrelationList qList;
    for (const char* name : {"R", "S"}) {
        auto* item = new CorrelationItem;
        item->name = name;
        item->negative = name[0] == 'S';
        qList.Add(item);
    }
    SetVariableCorrelations(tree, *window.Document().FindVariable("Q", false), &qList);
    using C = VariableCorrelationsDialog;
    std::string summary;
    // Variables: cost, Q, R, rate, S; the dialog's own "cost" is not offered.
    InProperties(0,
                 {Click(Ctl::VariableProperties::Correlations),
                  [](DialogFrameCL& dialog) {
                      SendDlgItemMessageA(dialog.Handle(), Ctl::Correlations3970::CorrelationsList, LB_SELECTSTRING,
                                          static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Q"));
                      SendMessageA(dialog.Handle(), WM_COMMAND,
                                   MAKEWPARAM(Ctl::Correlations3970::AddButton, BN_CLICKED), 0);
                  },
                  Click(Ctl::NewCorrelation::Negative),
                  [](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0); },
                  [](DialogFrameCL& dialog) {
                      ExpectScreenEqualsRepaint(dialog.Handle());
                      SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
                  },
                  [&](DialogFrameCL& dialog) {
                      summary = Text(dialog.Control(Ctl::VariableProperties::HighValueText));
                      SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
                  }});
    EXPECT_EQ(summary, "-Q, -R, +S");
    const CorrelationList* list = window.Document().FindVariable("cost", false)->correlations;
    ASSERT_NE(list, nullptr);
    std::string signs;
    for (int i = 0; i < list->Count(); ++i)
        signs += std::string(list->At(i)->negative ? "-" : "+") + list->At(i)->name.Text() + " ";
    EXPECT_EQ(signs, "-Q -R +S ");

    // Removing one and then cancelling the Correlations dialog keeps the list.
    InProperties(
        0,
        {Click(Ctl::VariableProperties::Correlations),
         [](DialogFrameCL& dialog) {
             SendDlgItemMessageA(dialog.Handle(), Ctl::Correlations3970::CorrelationsList3975, LB_SETCURSEL, 0, 0);
             SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Correlations3970::RemoveButton, BN_CLICKED), 0);
             SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
         },
         [](DialogFrameCL& dialog) { SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0); }});
    EXPECT_EQ(list->Count(), 3);
}

} // namespace
