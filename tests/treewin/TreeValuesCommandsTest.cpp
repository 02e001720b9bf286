// The Values menu: one window per item and node, the questions a conflict asks, and the commands that
// define new variables and distribute a node's children.

#include "treewin/TreeWindow.h"

#include "widgets/InPlaceEdit.h"
#include "widgets/MenuButton.h"
#include "app/StartProgram.h"
#include "widgets/UndoHistory.h"
#include "treewin/CreateSliderDialog.h"
#include "treewin/DefineNewVariableDialog.h"
#include "treewin/DefineValuesDialog.h"
#include "treewin/DistributeChildrenDialog.h"
#include "treewin/DistributionPicker.h"
#include "treewin/DistributionsDialog.h"
#include "treewin/EvaluatorWindow.h"
#include "treewin/InsertVariableDialog.h"
#include "treewin/MultiAttrWeightDialog.h"
#include "treewin/ProbabilityWheel.h"
#include "treewin/TablesUsedDialog.h"
#include "treewin/VariablesWindow.h"
#include "treewin/VariablesReportDialog.h"
#include "treewin/NodeValueWindow.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionTypes.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/TextReport.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/Menu.h"
#include "framework/window/MDIframeCL.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/FramedTreeWindow.h"
#include "treewin/SliderWindow.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeStructureActions.h"
#include "tests/support/DialogControls.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScreenCheck.h"
#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kEditingQuestion =
    "One or more of the selected nodes is currently editing that item in another window. Do you want to "
    "activate that window now?";

// Its modal dialogs take the activation: no other test may check its screen meanwhile.
class TreeValuesCommands : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    TreeValuesCommands()
    {
        a = tree.AddChild(tree.Root, TerminalNode, "A", "", "1");
        b = tree.AddChild(tree.Root, TerminalNode, "B", "", "2");
        for (const char* name : {"x", "y", "z"})
            window.Document().EnsureVariable(name, nullptr);
    }

    void Select(std::initializer_list<TreeNode*> nodes)
    {
        window.ClearSelection();
        for (TreeNode* node : nodes)
            window.Selection.Add(node);
    }

    // The windows bound to the tree as (key, node texts).
    std::vector<std::string> Windows()
    {
        std::vector<std::string> out;
        for (int i = 0; i < window.ChildWindows().Count(); ++i) {
            auto* bound = static_cast<NodeValueWindow*>(window.ChildWindows().At(i));
            std::string line = bound->Key().Text();
            for (int n = 0; n < bound->Nodes().Count(); ++n)
                line += std::string(" ") + bound->Nodes().At(n)->text.Text();
            out.push_back(line);
        }
        return out;
    }

    static std::string Probability(const TreeNode* node)
    {
        zString text;
        node->GetProbabilityText(text);
        return text.Text();
    }

    TreeNode* a;
    TreeNode* b;
};

TEST_F(TreeValuesCommands, AnItemOfANodeIsEditedInOneWindow)
{
    Select({a, b});
    EXPECT_EQ(window.RunCommandHandler(Cmd::ValuesChangePayoff), 1);
    EXPECT_EQ(Windows(), (std::vector<std::string>{"***enterPay A B"}));
    EXPECT_EQ(boxes.Count(), 0u);

    // Again on B: the question, answered No, and no second window; other keys are free.
    Select({b});
    boxes.Answer(IDNO);
    window.RunCommandHandler(Cmd::ValuesChangePayoff);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, kEditingQuestion);
    window.RunCommandHandler(Cmd::ValuesMarkovTransitionRewards);
    EXPECT_EQ(Windows(), (std::vector<std::string>{"***enterPay A B", "***markovToll B"}));

    // Rolled back: only a beep, no box and no window.
    tree.RolledBack = RolledBackValues::Computed;
    window.RunCommandHandler(Cmd::ValuesChangePayoff);
    window.RunCommandHandler(Cmd::ValuesMarkovStateInformation);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(window.ChildWindows().Count(), 2);
    EXPECT_EQ(window.RunCommandHandler(Cmd::EditUndo), 0);
}

TEST_F(TreeValuesCommands, AValueWindowClosesWhenItsNodeLeavesTheTree)
{
    Select({b});
    window.RunCommandHandler(Cmd::ValuesChangePayoff);
    const std::vector<std::string> onB = {"***enterPay B"};
    for (bool cut : {false, true}) {
        Select({a});
        window.RunCommandHandler(Cmd::ValuesChangePayoff);
        if (cut)
            window.AddUndoAction(new TreeCutNodeAction(&window, a, true));
        else
            window.AddUndoAction(new TreeDeleteBranchAction(&window, a));
        EXPECT_EQ(Windows(), onB);
        window.Undo();
    }
    // An added branch taken back by Undo is freed.
    window.AddUndoAction(new TreeAddBranchAction(&window, a));
    Select({a->GetChild(0)});
    window.RunCommandHandler(Cmd::ValuesChangePayoff);
    EXPECT_EQ(window.ChildWindows().Count(), 2);
    window.Undo();
    EXPECT_EQ(Windows(), onB);
}

TEST_F(TreeValuesCommands, DefineValuesOpensTheFreeVariablesAndReportsTheOthers)
{
    struct Case {
        std::vector<const char*> chosen;
        bool perNode;
        std::vector<std::string> windows;  // after "y A" was already open
        std::vector<std::string> boxTexts;
    } cases[] = {
        {{"x", "y", "z"}, false, {"y A", "x A B", "z A B"},
         {"One or more of the selected variables is currently being edited in another window."}},
        {{"y"}, false, {"y A"}, {kEditingQuestion}},
        {{"x"}, true, {"y A", "x A", "x B"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.size());
        Select({a, b});
        auto previous = DefineValuesDialog::SetPresenter([&](DefineValuesDialog& dialog) {
            EXPECT_EQ(dialog.selectedCount, 2);
            for (const char* name : c.chosen)
                dialog.chosen.AddText(name);
            dialog.windowPerNode = c.perNode;
            return IDOK;
        });
        window.OpenNodeValueWindow(a, "y");
        boxes.Clear();
        boxes.Answer(IDNO);
        window.RunCommandHandler(Cmd::ValuesDefineValues);
        std::vector<std::string> texts;
        for (const auto& box : boxes.Boxes())
            texts.push_back(box.text);
        EXPECT_EQ(texts, c.boxTexts);
        EXPECT_EQ(Windows(), c.windows);
        DefineValuesDialog::SetPresenter(previous);
        window.CloseChildWindowsFor(a);
        window.CloseChildWindowsFor(b);
    }
}

// The value button reads "Values..." over table lines alone; defining a variable at two nodes asks how.
TEST_F(TreeValuesCommands, DefineValuesNamesItsButtonAfterTheLinesAndAsksAboutSeveralNodes)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string directory = temp + std::string("kivo_define_tables") + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(directory.c_str(), nullptr);
    SetTablesDirectory((directory + "\\").c_str());
    LoadTablesDirectory();
    ASSERT_NE(CreateTable("Rates", "rates", "", LookupTable::Truncation, true), nullptr);
    Select({a, b});
    // Lines: x, y, z, the tables line, Rates.
    const auto select = [](std::initializer_list<int> lines) {
        return [lines](DialogFrameCL& dialog) {
            HWND list = dialog.FindChild(Ctl::DefineValues::ShownList)->Handle();
            SendMessageA(list, LB_SETSEL, FALSE, -1);
            for (int line : lines)
                SendMessageA(list, LB_SETSEL, TRUE, line);
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::DefineValues::ShownList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        };
    };
    std::vector<std::string> faces;
    const auto readFace = [&](DialogFrameCL& dialog) {
        for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)))
                if (button->ButtonMenu()->Handle() &&
                    GetMenuState(button->ButtonMenu()->Handle(), Cmd::DefineValuesTreeDefault, MF_BYCOMMAND) !=
                        static_cast<UINT>(-1))
                    faces.push_back(button->FaceText().Text());
    };
    std::string question;
    bool help = false;
    ModalDialogDriver person;
    person.Then(select({4})).Then(readFace).Then(select({0, 4})).Then(readFace).Then(select({0})).Then(readFace);
    person.Press(Cmd::DefineValuesAtSelectedNodes).Then([&](DialogFrameCL& dialog) {
        for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[100] = {};
            GetWindowTextA(child, text, sizeof text);
            if (GetDlgCtrlID(child) == 111)
                help = std::string(text) == "&Help";
            else if (std::strstr(text, "more than one node"))
                question = text;
        }
    });
    person.Press(IDCANCEL).Press(IDCANCEL);
    window.RunCommandHandler(Cmd::ValuesDefineValues);
    EXPECT_TRUE(person.Finished());
    FreeTables();
    DeleteFileA((directory + "\\rates.tbl").c_str());
    RemoveDirectoryA(directory.c_str());
    EXPECT_EQ(faces, (std::vector<std::string>{"Values...", "Value...", "Value..."}));
    EXPECT_EQ(question, "You have chosen to define a variable at more than one node.");
    EXPECT_TRUE(help);
    EXPECT_EQ(Windows(), std::vector<std::string>{});
}

TEST_F(TreeValuesCommands, DeletingAVariableClosesItsWindowsAndDropsItsParameter)
{
    b->SetBinding("y", "2", true);
    tree.CustomInterface = std::make_unique<CustomInterfaceSettings>();
    tree.CustomInterface->Add(new CustomInterfaceParameter);
    tree.CustomInterface->At(0)->variableName = "Y";
    window.OpenNodeValueWindow(a, "y");
    window.OpenNodeValueWindow(a, "x");
    new SliderWindow(&window, window.Selection, "y", 0.0, 8.0, 4);
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        SendDlgItemMessageA(dialog.Handle(), Ctl::DefineValues::ShownList, LB_SETSEL, FALSE, -1);
        SendDlgItemMessageA(dialog.Handle(), Ctl::DefineValues::ShownList, LB_SETSEL, TRUE, 1);
    });
    person.Press(Ctl::DefineValues::Delete).Press(IDCANCEL);
    window.AddUndoAction(new TreeAddBranchAction(&window, a));
    window.Undo();
    boxes.Answer(IDOK);
    window.RunCommandHandler(Cmd::ValuesDefineValues);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Deleting the item \"y\" will destroy any definitions, and may leave unresolved "
                                 "references in formulas. Deleting cannot be undone, and the undo history will be "
                                 "cleared.");
    EXPECT_EQ(window.History().Count(), 0);
    EXPECT_EQ(window.Document().FindVariable("y", false), nullptr);
    EXPECT_EQ(b->FindBinding("y", false), nullptr);
    ASSERT_EQ(window.ChildWindows().Count(), 1);
    EXPECT_EQ(Windows(), (std::vector<std::string>{"x A"}));
    EXPECT_EQ(tree.CustomInterface->Count(), 0);
}

TEST_F(TreeValuesCommands, DefineNewVariableRefusesAUsedName)
{
    Select({a});
    std::vector<const char*> typed = {"x", "fresh"};
    auto previous = DefineNewVariableDialog::SetPresenter([&](DefineNewVariableDialog& dialog) {
        EXPECT_STREQ(dialog.name.Text(), typed.size() == 2 ? "NewVar" : "x");
        dialog.name = typed.front();
        typed.erase(typed.begin());
        return IDOK;
    });
    window.DefineNewVariable();
    DefineNewVariableDialog::SetPresenter(previous);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "That variable name is already being used.");
    EXPECT_NE(window.Document().FindVariable("fresh", false), nullptr);
    EXPECT_EQ(Windows(), (std::vector<std::string>{"fresh A"}));
}

TEST_F(TreeValuesCommands, DistributeChildrenAsksBeforeTheHistoryGoes)
{
    auto first = DistributeChildrenDialog::SetPresenter([](DistributeChildrenDialog& dialog) {
        dialog.count = 3;
        dialog.variableIndex = 1;
        return IDOK;
    });
    auto picker = DistributionPicker::SetPresenter([](DistributionPicker& dialog) {
        dialog.chosen = new NormalDistribution();
        return IDOK;
    });
    auto ranges = DistributeChildrenRangesDialog::SetPresenter([](DistributeChildrenRangesDialog& dialog) {
        dialog.probabilities = {0.25, 0.5, 0.25};
        dialog.boundaries = {1.0, 2.0, 2.0, 2.25};
        return IDOK;
    });
    window.AddUndoAction(new TreeAddBranchAction(&window, a));
    window.Undo();
    Select({b});

    // Cancel keeps the tree and the history.
    boxes.Answer(IDCANCEL);
    window.DistributeChildren();
    EXPECT_EQ(b->childCount, 0);
    EXPECT_EQ(window.History().Count(), 1);

    window.DistributeChildren();
    ASSERT_EQ(b->childCount, 3);
    const char* probabilities[] = {"0.25", "0.5", "#"};
    const char* values[] = {"1.5", "2", "2.125"};
    for (int i = 0; i < 3; ++i) {
        TreeNode* child = b->GetChild(i);
        EXPECT_EQ(std::string(child->text.Text()), "Node " + std::to_string(i + 1));
        EXPECT_EQ(Probability(child), probabilities[i]);
        ASSERT_NE(child->FindBinding("y", false), nullptr);
        EXPECT_STREQ(child->FindBinding("y", false)->definition.Text().Text(), values[i]);
    }
    EXPECT_EQ(window.History().Count(), 0);
    EXPECT_EQ(tree.Modified, 1);
    DistributeChildrenDialog::SetPresenter(first);
    DistributionPicker::SetPresenter(picker);
    DistributeChildrenRangesDialog::SetPresenter(ranges);

    // Without variables only the error box.
    boxes.Clear();
    tree.Variables.DeleteAll();
    window.DistributeChildren();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "No variables are defined to hold the values of the distribution. Please create one first.");
    EXPECT_EQ(boxes.Last().help, 30011);
}

TEST_F(TreeValuesCommands, TheReportsAndToolsOfTheValuesMenu)
{
    tree.Root->SetBinding("x", "3", false);
    tree.Root->SetBinding("y", "x+1", false);
    a->SetBinding("z", "5", false);
    b->SetBinding("z", "6", false);
    a->SetPayoffText("Costs [2] + 3[1] + (", 0, false);

    // Tables Used: the name before a bracket in a formula that does not parse, upper-cased and missing.
    std::vector<std::string> missing;
    auto tables = TablesUsedDialog::SetPresenter([&](TablesUsedDialog& dialog) {
        for (int i = 0; i < dialog.missing.Count(); ++i)
            missing.push_back(dialog.missing.At(i)->Text());
        return IDOK;
    });
    EXPECT_EQ(window.RunCommandHandler(Cmd::ReportTablesUsed), 1);
    TablesUsedDialog::SetPresenter(tables);
    EXPECT_EQ(missing, (std::vector<std::string>{"COSTS"}));

    // The Variables report: a variable defined at several nodes, none of them the root, has no value.
    std::vector<std::string> lines;
    auto report = SetTextReportPresenter([&](TextReport& text, const char*) {
        for (int i = 0; i < text.Lines().Count(); ++i)
            lines.push_back(text.Lines().At(i)->Text());
        return 1;
    });
    auto columns = VariablesReportDialog::SetPresenter([](VariablesReportSettings&) { return IDOK; });
    window.RunCommandHandler(Cmd::ReportVariables);
    SetTextReportPresenter(report);
    VariablesReportDialog::SetPresenter(columns);
    EXPECT_EQ(lines, (std::vector<std::string>{"x\t \t$3", "y\t \t$4", "z\t \t "}));

    // The Evaluator opens over the selection, evaluates there and closes on the same command.
    Select({a});
    window.RunCommandHandler(Cmd::ValuesOpenEvaluator);
    ASSERT_NE(window.Evaluator, nullptr);
    window.Evaluator->Expression()->SetText("z*x");
    window.Evaluator->Calculate();
    EXPECT_STREQ(window.Evaluator->Result()->GetText().Text(), "15");
    NodeChildList both(2, Ownership::Borrows);
    both.Add(a);
    both.Add(b);
    window.SelectNodes(both);
    EXPECT_EQ(window.Evaluator->Node(), tree.Root);
    window.RunCommandHandler(Cmd::ValuesOpenEvaluator);
    EXPECT_EQ(window.Evaluator, nullptr);
    EXPECT_EQ(window.ChildWindows().Count(), 0);

    // Multi-attribute weights and distributions are the document's, and changing them modifies it.
    auto weights = MultiAttrWeightDialog::SetPresenter([](MultiAttrWeightDialog& dialog) {
        dialog.weights[2] = "x/10";
        return IDOK;
    });
    tree.Modified = 0;
    window.RunCommandHandler(Cmd::ValuesMultiAttributeWeights);
    MultiAttrWeightDialog::SetPresenter(weights);
    EXPECT_STREQ(tree.CalcPrefs.MultiAttrWeight[2].Text().Text(), "x/10");
    EXPECT_EQ(tree.Modified, 1);
    auto picker = DistributionPicker::SetPresenter([](DistributionPicker& dialog) {
        dialog.chosen = new NormalDistribution();
        return IDOK;
    });
    auto distributions = DistributionsDialog::SetPresenter([](DistributionsDialog& dialog) {
        dialog.New();
        dialog.New();
        dialog.selected = 0;
        dialog.Delete();
        EXPECT_EQ(dialog.NextFreeIndex(), 1);
        return IDCANCEL;
    });
    window.RunCommandHandler(Cmd::ValuesDistributions);
    DistributionPicker::SetPresenter(picker);
    DistributionsDialog::SetPresenter(distributions);
    ASSERT_EQ(tree.Distributions.Count(), 1);
    EXPECT_EQ(tree.Distributions.RecordAt(0)->index, 2);
}

TEST_F(TreeValuesCommands, TheWheelAndInsertVariableWorkOnTheChanceNode)
{
    TreeNode* c = tree.AddChild(tree.Root, ChanceNode, "C");
    TreeNode* c1 = tree.AddChild(c, TerminalNode, "C1", "0.3");
    TreeNode* c2 = tree.AddChild(c, TerminalNode, "C2", "#");
    Select({});
    EXPECT_EQ(window.RunCommandHandler(Cmd::ValuesProbabilityWheel), 1);

    // The remainder branch starts with what the stated one leaves and keeps its "#".
    auto wheel = ProbabilityWheelDialog::SetPresenter([](ProbabilityWheelDialog& dialog) {
        EXPECT_NEAR(dialog.shares[1], 0.7, 1e-9);
        dialog.shares = {0.25, 0.75};
        return IDOK;
    });
    Select({c});
    window.RunCommandHandler(Cmd::ValuesProbabilityWheel);
    ProbabilityWheelDialog::SetPresenter(wheel);
    EXPECT_EQ(Probability(c1) + " " + Probability(c2), "0.25 #");
    window.Undo();
    EXPECT_EQ(Probability(c1), "0.3");

    // Insert Variable completes the name being typed in the probability, asking only when several fit.
    frame.Show(SW_SHOW);
    window.Show(SW_SHOW);
    window.SelectNode(c1, 2, nullptr, false);
    ASSERT_NE(window.InPlaceEditor, nullptr);
    int asked = 0;
    auto insert = InsertVariableDialog::SetPresenter([&](InsertVariableDialog& dialog) {
        ++asked;
        dialog.selected = 1;
        return IDOK;
    });
    for (const char* typed : {"1-Z", "1-"}) {
        window.InPlaceEditor->SetText(typed);
        window.InPlaceEditor->SetSelection(10, 10);
        window.RunCommandHandler(Cmd::ValuesInsertVariable);
    }
    InsertVariableDialog::SetPresenter(insert);
    EXPECT_STREQ(window.InPlaceEditor->GetText().Text(), "1-y");
    EXPECT_EQ(asked, 1);
}

TEST_F(TreeValuesCommands, TheValuesDialogsOnTheScreen)
{
    // The weights take picks of the formula menus where the focus was; one that is no formula keeps the
    // dialog open.
    {
        const unsigned first = Ctl::MultiAttributeWeighting::Edit3201;
        TheProgram()->CreateFormulaMenus(&frame);
        std::vector<std::string> faces;
        std::string picked;
        ModalDialogDriver person;
        person.Then([&](DialogFrameCL& dialog) {
            for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)))
                    faces.push_back(button->FaceText().Text());
            HWND third = GetDlgItem(dialog.Handle(), first + 2);
            SetWindowTextA(third, "x");
            SetFocus(third);
            SendMessageA(third, EM_SETSEL, 1, 1);
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(603, 0), 0); // "*" of Operators
            picked = TextOf(dialog, first + 2);
        });
        person.Type(first + 1, "1 + (").Press(IDOK);
        person.Type(first + 1, "0.25").Type(first + 2, "x*2").Press(IDOK);
        boxes.Clear();
        window.RunCommandHandler(Cmd::ValuesMultiAttributeWeights);
        TheProgram()->DestroyFormulaMenus();
        EXPECT_TRUE(person.Finished());
        EXPECT_EQ(faces, (std::vector<std::string>{"Operators:", "Functions:", "Variables:"}));
        EXPECT_EQ(picked, "x*");
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "Syntax error at character 5: \"(\" is not closed. Unable to evaluate multi "
                                     "attribute weighting factor.");
        boxes.Clear();
    }
    EXPECT_STREQ(tree.CalcPrefs.MultiAttrWeight[1].Text().Text(), "0.25");
    EXPECT_STREQ(tree.CalcPrefs.MultiAttrWeight[2].Text().Text(), "x*2");

    auto picker = DistributionPicker::SetPresenter([](DistributionPicker& dialog) {
        dialog.chosen = new NormalDistribution();
        return IDOK;
    });
    {
        ModalDialogDriver person;
        // The new record's properties, accepted as they come.
        person.Press(Ctl::Distributions::New).Press(IDOK).Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(SendDlgItemMessageA(dialog.Handle(), Ctl::Distributions::CommentList, LB_GETCOUNT, 0, 0), 1);
        });
        person.Press(IDCANCEL);
        window.RunCommandHandler(Cmd::ValuesDistributions);
        EXPECT_TRUE(person.Finished());
    }
    DistributionPicker::SetPresenter(picker);
    EXPECT_EQ(tree.Distributions.Count(), 1);

    // The Variables report with the columns the dialog starts with: name, description and value.
    int columns = 0;
    auto report = SetTextReportPresenter([&](TextReport& text, const char*) {
        columns = text.ColumnHeaders().Count();
        return 1;
    });
    {
        ModalDialogDriver person;
        person.Press(IDOK);
        window.RunCommandHandler(Cmd::ReportVariables);
    }
    SetTextReportPresenter(report);
    EXPECT_EQ(columns, 3);

    // Create Slider offers the variables defined at both nodes; another variable brings its own range; an
    // empty range is refused and the dialog stays open.
    for (TreeNode* node : {a, b}) {
        node->SetBinding("y", "3", false);
        node->SetBinding("z", "7", false);
    }
    a->SetBinding("x", "1", false);
    DocVariable* z = window.Document().FindVariable("z", false);
    z->low.value = 2.0;
    z->high.value = 9.0;
    z->hasRange = 1;
    Select({a, b});
    {
        ModalDialogDriver person;
        person.Then([](DialogFrameCL& dialog) {
            HWND names = GetDlgItem(dialog.Handle(), Ctl::CreateSlider::VariableCombo);
            EXPECT_EQ(SendMessageA(names, CB_GETCOUNT, 0, 0), 2);
            EXPECT_EQ(std::stod(TextOf(dialog, Ctl::CreateSlider::LowValueEdit)), 3.0);
            SetWindowTextA(GetDlgItem(dialog.Handle(), Ctl::CreateSlider::LowValueEdit), "5");
            SendMessageA(names, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("z"));
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::CreateSlider::VariableCombo, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(names));
            EXPECT_EQ(std::stod(TextOf(dialog, Ctl::CreateSlider::LowValueEdit)), 2.0);
        });
        person.Type(Ctl::CreateSlider::HighValueEdit, "2").Press(IDOK);
        person.Type(Ctl::CreateSlider::HighValueEdit, "8").Press(IDOK);
        window.RunCommandHandler(Cmd::ValuesCreateSlider);
        EXPECT_TRUE(person.Finished());
    }
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The high value must be greater than the low value.");
    ASSERT_EQ(window.ChildWindows().Count(), 1);
    EXPECT_EQ(static_cast<SliderWindow*>(window.ChildWindows().At(0))->Steps(), 4);
    EXPECT_EQ(z->high.value, 8.0);
    delete window.ChildWindows().At(0);

    // A variable bound at A alone is no choice for A and B together; with none, no dialog.
    for (TreeNode* node : {a, b})
        for (const char* name : {"y", "z"})
            node->RemoveBinding(name, false, false);
    window.RunCommandHandler(Cmd::ValuesCreateSlider);
    EXPECT_EQ(boxes.Last().text, "No variables are defined at each of the selected nodes.");
    EXPECT_EQ(window.ChildWindows().Count(), 0);

    // The wheel on the screen: the border between the slices dragged by its handle, just outside the rim,
    // from 0.3 round to 0.5.
    TreeNode* c = tree.AddChild(tree.Root, ChanceNode, "C");
    TreeNode* c1 = tree.AddChild(c, TerminalNode, "C1", "0.3");
    tree.AddChild(c, TerminalNode, "C2", "#");
    Select({c});
    {
        ModalDialogDriver person;
        person.Then([](DialogFrameCL& dialog) {
            HWND pie = FindWindowExA(dialog.Handle(), nullptr, "PaneWindowCL", nullptr);
            RECT client;
            GetClientRect(pie, &client);
            HDC dc = GetDC(pie);
            const double inch = GetDeviceCaps(dc, LOGPIXELSX);
            ReleaseDC(pie, dc);
            const double cx = client.right / 2.0, cy = client.bottom / 2.0;
            const double r = std::min(client.right, client.bottom) / 2.0 - 0.08 * inch;
            auto at = [&](double share) {
                return MAKELPARAM(static_cast<int>(cx + r * std::sin(6.283185307 * share)),
                                  static_cast<int>(cy - r * std::cos(6.283185307 * share)));
            };
            SendMessageA(pie, WM_LBUTTONDOWN, MK_LBUTTON, at(0.3));
            SendMessageA(pie, WM_MOUSEMOVE, MK_LBUTTON, at(0.5));
            SendMessageA(pie, WM_LBUTTONUP, 0, at(0.5));
        });
        person.Press(IDOK).Press(IDCANCEL);
        window.RunCommandHandler(Cmd::ValuesProbabilityWheel);
    }
    EXPECT_EQ(Probability(c1), "0.50");
}

}  // namespace

TEST_F(TreeValuesCommands, TheVariablesWindowListsTheSelectedNodesDefinitions)
{
    tree.Root->SetBinding("x", "1", false);
    tree.Root->SetBinding("z", "4", false);
    a->SetBinding("y", "2", false);
    a->SetBinding("x", "3", false);
    window.SelectNode(a, 0, nullptr, false);
    window.OnCommand(1306);
    VariablesWindow* variables = window.VariablesView;
    ASSERT_NE(variables, nullptr);
    const auto shown = [&] {
        char label[40] = {};
        GetDlgItemTextA(variables->Handle(), Ctl::Variables::NodeLabel, label, sizeof label);
        std::vector<std::string> lines{label};
        for (int i = 0; i < variables->List()->GetCount(); ++i) {
            zString line;
            variables->List()->GetString(line, i);
            lines.push_back(line.Text());
        }
        return lines;
    };
    EXPECT_EQ(shown(), (std::vector<std::string>{"A", "x = 3", "y = 2"}));
    window.SelectNode(b, 0, nullptr, true);
    EXPECT_EQ(shown(), (std::vector<std::string>{"(multiple)"}));

    // Inherited lines: the root's x is hidden by A's, its z comes under the defaults' header.
    window.SelectNode(a, 0, nullptr, false);
    SendMessageA(variables->Handle(), WM_COMMAND, Ctl::Variables::ShowInherited, 0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"A", "x = 3", "y = 2", " ----- (Tree Defaults)", "z = 4"}));
    variables->List()->SetCurSel(3);
    variables->OpenSelectedDefinition();
    variables->List()->SetCurSel(4);
    variables->OpenSelectedDefinition();
    ASSERT_EQ(window.ChildWindows().Count(), 2);
    EXPECT_TRUE(static_cast<TreeChildWindow*>(window.ChildWindows().At(1))->Matches(tree.Root, "z"));
    // Left moves the selection to the root, whose lines show once, without a header.
    SendMessageA(variables->Handle(), WM_COMMAND, Ctl::Variables::LeftButton, 0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"", "x = 1", "z = 4"}));

    // With every variable defined at the node shown, nothing is left to define: Define New still shows.
    tree.Root->SetBinding("y", "5", false);
    variables->RefreshFromTree();
    MenuButton* defineNew = nullptr;
    for (HWND child = GetWindow(variables->Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)))
            defineNew = button;
    ASSERT_NE(defineNew, nullptr);
    EXPECT_EQ(defineNew->ButtonMenu()->ItemCount(), 0);
    // Shown on the screen, the raised frame's shadow at its bottom right corner, not the bare face.
    MoveWindow(frame.Handle(), 0, 0, 800, 600, TRUE);
    frame.Show(SW_SHOW);
    ScreenOnTop raised(frame.Handle());
    MoveWindow(variables->Handle(), 0, 0, 500, 300, TRUE);
    BringWindowToTop(variables->Handle());
    PumpMessagesUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
    RECT place{};
    GetWindowRect(defineNew->Handle(), &place);
    HDC screen = GetDC(nullptr);
    EXPECT_NE(GetPixel(screen, place.right - 1, place.bottom - 1), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(nullptr, screen);

    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1306, "");
    const auto title = [menu] {
        char text[40] = {};
        GetMenuStringA(menu, 1306, text, sizeof text, MF_BYCOMMAND);
        return std::string(text);
    };
    window.UpdateMenus(menu);
    EXPECT_EQ(title(), "Hide &Variables Window");
    window.OnCommand(1306);
    EXPECT_EQ(window.VariablesView, nullptr);
    window.UpdateMenus(menu);
    EXPECT_EQ(title(), "Show &Variables Window");
    DestroyMenu(menu);
}
