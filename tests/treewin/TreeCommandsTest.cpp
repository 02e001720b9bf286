// Tree window commands: branches, the Edit menu's scopes and texts with the tree clipboard, clones, and the
// Analysis menu's roll back, optimal path and probability check; commands refused where their item would be
// grayed.

#include "treewin/TreeWindow.h"

#include "analysis/AnalysisRun.h"
#include "app/MainFrame.h"
#include "widgets/UndoAction.h"
#include "widgets/UndoHistory.h"
#include "treewin/AttachCloneDialog.h"
#include "treewin/ChangeNodeTypeDialog.h"
#include "treewin/CustomInterfaceDialog.h"
#include "treewin/DefineNewVariableDialog.h"
#include "treewin/InsertBranchDialog.h"
#include "treewin/JumpToDialog.h"
#include "treewin/MarkovBindingsDialog.h"
#include "dialogs/NumericFormatDialog.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/NoteBox.h"
#include "treewin/ReorderBranchesDialog.h"
#include "treewin/SelectNodesDialog.h"
#include "widgets/StatusMessage.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/PromptDialog.h"
#include "framework/dialog/FontDialog.h"
#include "framework/dialog/Menu.h"
#include "framework/window/Clipboard.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "model/TreeOutline.h"
#include "framework/window/MDIframeCL.h"
#include "dialogs/RiskPreferenceDialogs.h"
#include "model/CloneCopies.h"
#include "model/DocumentVariableOps.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/IdleAnalysis.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreePane.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Outline(TreeWindow& window)
{
    zString out;
    WriteTreeOutline(window.Document().Root, out);
    return out.Text();
}

std::string ItemText(HMENU menu, unsigned id)
{
    char text[64] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// The frame's menu bar for the clipboard and the Edit texts, with empty clipboard slots.
struct Screen {
    ScopedApplication app;
    MessageBoxRecorder boxes;
    std::unique_ptr<Menu> bar{Menu::FromResource(ResourceId(116u, nullptr))};
    Screen()
    {
        TheTreeClipboard().ShowInMenu(bar.get());
        Empty();
    }
    ~Screen()
    {
        Empty();
        TheTreeClipboard().ShowInMenu(nullptr);
    }
    static void Empty()
    {
        for (int slot = 0; slot < TreeClipboard::kSlots; ++slot)
            TheTreeClipboard().Store(nullptr, slot);
        TheTreeClipboard().SelectSlot(0);
    }
};

// Root "R" (decision) with chance "A" (terminals "A1" 0.3 and "A2" 0.7, payoffs 1 and 2) and terminal "B".
struct Tree {
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeNode* a;
    TreeNode* b;
    Tree()
    {
        document.Root->SetKind(DecisionNode, false);
        document.Root->SetText("R", false);
        a = document.AddChild(document.Root, ChanceNode, "A");
        document.AddChild(a, TerminalNode, "A1", "0.3", "1");
        document.AddChild(a, TerminalNode, "A2", "0.7", "2");
        b = document.AddChild(document.Root, TerminalNode, "B", "", "5");
    }
    const char* LastActionName() { return window.CurrentUndoAction()->name.Text(); }
};

} // namespace

TEST(TreeCommands, AddBranchesGivesTwoThenOneAndRefusesTerminals)
{
    FocusTestLock focus;
    Screen screen;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    TreeWindow window;
    TreeDocument& document = window.Document();
    document.DisplayPrefs.AddAbove = 1;
    document.DisplayPrefs.BranchesPerNode = 2;
    window.SelectNode(document.Root, 1, nullptr, false);
    // The command reaches the tree through the window it is shown in.
    SendMessageA(window.Handle(), WM_COMMAND, 1403, 0);
    EXPECT_EQ(document.Root->childCount, 2);
    EXPECT_STREQ(window.CurrentUndoAction()->name.Text(), "Add Branches");
    document.Root->GetChild(0)->SetText("first", false);
    window.SelectNode(document.Root, 1, nullptr, false);
    window.OnCommand(1403);
    EXPECT_STREQ(window.CurrentUndoAction()->name.Text(), "Add Branch");
    ASSERT_EQ(document.Root->childCount, 3);
    EXPECT_STREQ(document.Root->GetChild(1)->text.Text(), "first");  // the new one went on top
    window.Show(SW_SHOW);
    ExpectScreenEqualsRepaint(frame.Handle());
    window.Undo();
    window.Undo();
    EXPECT_EQ(document.Root->childCount, 0);

    // A terminal node takes no branches, and nothing changes while roll-back results are shown.
    Tree t;
    t.window.SelectNode(t.b, 1, nullptr, false);
    EXPECT_EQ(t.window.OnCommand(1403), 1);
    EXPECT_EQ(t.b->childCount, 0);
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.document.SuspendChildRefresh = 1;
    const std::string before = Outline(t.window);
    for (int command : {1403, 1413, 1406, 1304})
        t.window.OnCommand(command);
    EXPECT_EQ(Outline(t.window), before);
    t.document.SuspendChildRefresh = 0;
}

// Insert, Change Node Type and Reorder take the dialog's answer; a reorder that is no permutation is refused.
TEST(TreeCommands, DialogAnswersBuildTheirActions)
{
    Screen screen;
    Tree t;
    auto insert = InsertBranchDialog::SetPresenter([](InsertBranchDialog& d) { d.mode = 38; return IDOK; });
    auto kind = ChangeNodeTypeDialog::SetPresenter([](ChangeNodeTypeDialog& d) { d.kind = DecisionNode; return IDOK; });
    std::vector<int> order{1, 1, 0};
    auto reorder = ReorderBranchesDialog::SetPresenter([&order](ReorderBranchesDialog& d) {
        d.order = order;
        return IDOK;
    });
    t.window.SelectNode(t.b, 1, nullptr, false);
    t.window.OnCommand(1404);
    ASSERT_EQ(t.document.Root->childCount, 3);
    EXPECT_EQ(t.document.Root->GetChild(2), t.b);
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.OnCommand(1405);
    EXPECT_EQ(t.a->kind, DecisionNode);
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    const std::string before = Outline(t.window);
    t.window.OnCommand(1418);
    EXPECT_EQ(Outline(t.window), before);
    order = {2, 0, 1};
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    t.window.OnCommand(1418);
    EXPECT_EQ(t.document.Root->GetChild(0), t.b);
    InsertBranchDialog::SetPresenter(insert);
    ChangeNodeTypeDialog::SetPresenter(kind);
    ReorderBranchesDialog::SetPresenter(reorder);
}

// End nodes made outside a Markov model, or several at once, change directly: after the person agrees the
// history is emptied, no state is asked for, and outside a Markov model Change Payoff follows; Cancel changes
// nothing.
TEST(TreeCommands, ChangingToTerminalDirectlyEmptiesTheHistory)
{
    Screen screen;
    MessageBoxRecorder boxes;
    Tree t;
    TreeNode* markov = t.document.AddChild(t.document.Root, MarkovNode, "M");
    TreeNode* well = t.document.AddChild(markov, ChanceNode, "Well");
    TreeNode* deep[2] = {t.document.AddChild(well, ChanceNode, "X"), t.document.AddChild(well, ChanceNode, "Y")};
    TreeNode* plain = t.document.AddChild(t.b, ChanceNode, "P");
    t.b->SetKind(ChanceNode, false);
    auto kind = ChangeNodeTypeDialog::SetPresenter([](ChangeNodeTypeDialog& d) { d.kind = TerminalNode; return IDOK; });
    auto jump = JumpToDialog::SetPresenter([](JumpToDialog&) { ADD_FAILURE() << "no state asked"; return IDCANCEL; });
    struct Case {
        std::vector<TreeNode*> nodes;
        bool payoffFollows;
    };
    for (const Case& c : {Case{{deep[0], deep[1]}, false}, Case{{plain}, true}}) {
        t.window.SelectNode(t.a, 1, nullptr, false);
        t.window.OnCommand(1406);
        const int steps = t.window.History().Count();
        ASSERT_GT(steps, 0);
        t.document.SetModified(0);
        for (size_t i = 0; i < c.nodes.size(); ++i)
            t.window.SelectNode(c.nodes[i], 1, nullptr, i > 0);
        boxes.Answer(IDCANCEL);
        t.window.OnCommand(1405);
        EXPECT_EQ(boxes.Last().text, "Changing the node type to terminal cannot be undone, and the undo history "
                                     "will be cleared. Do you want to continue?");
        EXPECT_EQ(c.nodes[0]->kind, ChanceNode);
        EXPECT_EQ(t.window.History().Count(), steps);
        boxes.Answer(IDOK);
        t.window.OnCommand(1405);
        for (TreeNode* node : c.nodes)
            EXPECT_EQ(node->kind, TerminalNode);
        EXPECT_EQ(t.window.History().Count(), 0);
        EXPECT_EQ(t.document.Modified, 1);
        MSG posted;
        EXPECT_EQ(PeekMessageA(&posted, t.window.Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE) != 0 &&
                      posted.wParam == 1506,
                  c.payoffFollows);
    }
    ChangeNodeTypeDialog::SetPresenter(kind);
    JumpToDialog::SetPresenter(jump);
}

// Markov Transition Node offers the states and the "=" names above, and its choice is one undo step;
// Markov Bindings marks the tree modified, and its values stale, when the bindings changed.
TEST(TreeCommands, MarkovCommandsChooseTheJumpAndEditTheBindings)
{
    Screen screen;
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeNode* markov = document.AddChild(document.Root, MarkovNode, "M");
    TreeNode* well = document.AddChild(markov, ChanceNode, "Well", "0.9");
    document.AddChild(markov, TerminalNode, "Sick", "#");
    TreeNode* stay = document.AddChild(well, TerminalNode, "Stay", "1");
    well->MarkovBindings()->Add(new MarkovBinding("Sick", "Worse"));
    std::vector<std::string> rows;
    auto jump = JumpToDialog::SetPresenter([&rows](JumpToDialog& d) {
        for (int i = 0; i < d.rows.Count(); ++i)
            rows.push_back(d.rows.At(i)->Text());
        d.choice = 2;
        return IDOK;
    });
    window.SelectNode(stay, 1, nullptr, false);
    window.OnCommand(1421);
    EXPECT_EQ(rows, (std::vector<std::string>{"Well", "Sick", "=Worse"}));
    for (const char* expected : {"=Worse", "", "=Worse"}) {
        EXPECT_STREQ(stay->markovInfo != nullptr ? stay->markovInfo->jumpName.Text() : "", expected);
        window.CurrentUndoAction() != nullptr ? window.Undo() : window.Redo();
    }
    JumpToDialog::SetPresenter(jump);

    auto bindings = MarkovBindingsDialog::SetPresenter([](MarkovBindingsDialog& d) {
        d.changed = true;
        return IDOK;
    });
    document.SetModified(0);
    document.RolledBack = RolledBackValues::Snapshot;
    window.SelectNode(markov, 1, nullptr, false);
    window.OnCommand(1420);
    EXPECT_EQ(document.Modified, 1);
    EXPECT_FALSE(document.ValuesCurrent());
    MarkovBindingsDialog::SetPresenter(bindings);
}

// Numeric Formatting edits the format of the calculation method, or picks among the cost-effectiveness ones;
// only an accepted change marks the tree modified.
TEST(TreeCommands, NumericFormattingEditsTheFormatOfTheMethod)
{
    Screen screen;
    Tree t;
    TreeCalcPrefs& calc = t.document.CalcPrefs;
    calc.CurrentPayoff = 1;
    const NumericFormat* edited = nullptr;
    int answer = IDCANCEL;
    auto single = NumericFormatDialog::SetPresenter([&](NumericFormatDialog& d) {
        edited = &d.format;
        return answer;
    });
    auto choice = NumericFormatChoiceDialog::SetPresenter([&](NumericFormatChoiceDialog& d) {
        edited = &d.cost;
        d.changed = true;
        return answer;
    });
    for (CalcMethodKind method : {PayoffMethod, CostEffectivenessMethod}) {
        calc.CalcMethod = method;
        for (int given : {IDCANCEL, IDOK}) {
            answer = given;
            t.document.SetModified(0);
            t.window.OnCommand(1309);
            EXPECT_EQ(edited, &calc.PayoffFormats[method == PayoffMethod ? 1 : calc.CECostPayoff]);
            EXPECT_EQ(t.document.Modified, given == IDOK ? 1 : 0);
        }
    }
    NumericFormatDialog::SetPresenter(single);
    NumericFormatChoiceDialog::SetPresenter(choice);
}

// Select If selects what its rule finds, replacing the selection or joining it; searching the selected
// subtrees counts only the nodes that were not selected already.
TEST(TreeCommands, SelectIfSelectsTheNodesOfTheRule)
{
    Screen screen;
    Tree t;
    const struct {
        SelectRule rule;
        TreeNode* selected;
        const char* names;
    } cases[] = {
        {{}, nullptr, "A1 A2 B "},
        {{SelectRule::Position, 0, 0, 0, SelectRule::DecisionStrategy, 0, "", "", 0}, nullptr, "A B "},
        {{SelectRule::ProbabilityValue, 0, 0, 0, 0, 5, "", "", 0.5}, nullptr, "A2 "},
        {{SelectRule::ProbabilityValue, 0, 0, 0, 0, 2, "", "", 0.3}, nullptr, "A1 "},
        {{SelectRule::NameContains, 0, 0, 0, 0, 0, "", "a", 0}, nullptr, "A A1 A2 "},
        {{SelectRule::NameContains, 0, 0, 0, 0, 0, "", "", 0}, nullptr, "R A A1 A2 B "},
        {{SelectRule::NodeType, 1, 1, 2072, 0, 0, "", "", 0}, t.a, "A A1 A2 "},
    };
    for (const auto& c : cases) {
        auto presenter = SelectNodesDialog::SetPresenter([&c](SelectNodesDialog& d) {
            d.rule = c.rule;
            return IDOK;
        });
        t.window.ClearSelection();
        if (c.selected != nullptr)
            t.window.SelectNode(c.selected, 1, nullptr, false);
        t.window.OnCommand(1415);
        std::string names;
        for (int i = 0; i < t.window.Selection.Count(); ++i)
            names += std::string(t.window.Selection.At(i)->text.Text()) + " ";
        EXPECT_EQ(names, c.names) << c.rule.kind;
        SelectNodesDialog::SetPresenter(presenter);
    }
    EXPECT_STREQ(CurrentStatusMessage().Text(), "2 new node(s) selected");
}

// Design Custom Interface starts a tree's first custom interface from empty settings; OK keeps the design.
TEST(TreeCommands, DesignCustomInterfaceStartsFromEmptySettings)
{
    Screen screen;
    Tree t;
    int answer = IDCANCEL;
    auto presenter = CustomInterfaceDialog::SetPresenter([&answer](CustomInterfaceDialog& d) {
        EXPECT_EQ(d.settings.Count(), 0);
        d.settings.comment = "Read me";
        return answer;
    });
    for (int given : {IDCANCEL, IDOK}) {
        answer = given;
        t.document.SetModified(0);
        t.window.OnCommand(1417);
        EXPECT_EQ(t.document.Modified, given == IDOK ? 1 : 0);
        t.document.CustomInterface.reset();
    }
    CustomInterfaceDialog::SetPresenter(presenter);
}

TEST(TreeCommands, EditItemsFollowTheSelectionAndCutPastesThroughTheClipboard)
{
    // What another test leaves on the system clipboard (a note) would add a Paste choice.
    ClipboardTestLock clipboard;
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    Screen screen;
    Tree t;
    HMENU menu = screen.bar->Handle();
    TreeNode* leaf = t.a->GetChild(0);
    t.window.SelectNode(leaf, 1, nullptr, false);
    t.window.UpdateMenus(menu);
    EXPECT_EQ(ItemText(menu, 1202), "Cu&t Node\tCtrl+X");
    EXPECT_EQ(ItemText(menu, 1203), "&Copy Node\tCtrl+C");
    EXPECT_TRUE(MenuItemGrayed(menu, 1204));

    // The slot held "B" before the cut; undoing the cut brings both back.
    TheTreeClipboard().Store(t.b, 0);
    const std::string before = Outline(t.window);
    t.window.OnCommand(1202);
    EXPECT_EQ(t.a->childCount, 1);
    EXPECT_EQ(ItemText(menu, 1208), "Tree Clipboard &1 (Node)");
    EXPECT_STREQ(TheTreeClipboard().Get(0)->text.Text(), "A1");
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.OnCommand(1204);
    EXPECT_STREQ(t.LastActionName(), "Paste Node");
    t.window.Undo();
    t.window.Undo();
    EXPECT_EQ(Outline(t.window), before);
    EXPECT_STREQ(TheTreeClipboard().Get(0)->text.Text(), "B");

    // A node with children is copied only as a subtree; the root alone is neither cut nor cleared.
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.UpdateEditMenuTexts(menu, false);
    EXPECT_TRUE(MenuItemGrayed(menu, 1203));
    t.window.SubtreeSelection = 1;
    t.window.UpdateEditMenuTexts(menu, false);
    EXPECT_EQ(ItemText(menu, 1203), "&Copy Subtree\tCtrl+C");
    t.window.OnCommand(1203);
    EXPECT_EQ(ItemText(menu, 1208), "Tree Clipboard &1 (Subtree)");
    t.window.SubtreeSelection = 0;
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    const TreeWindow::EditMasks root = t.window.ComputeEditMasks();
    EXPECT_EQ(root.cut, 0u);
    EXPECT_EQ(root.clear, 0u);
    t.window.OnCommand(1205);
    EXPECT_EQ(t.document.Root->childCount, 2);

    // The stored subtree goes below no end node, also when another selected node would take it.
    t.window.SelectNode(t.b, 1, nullptr, false);
    EXPECT_EQ(t.window.ComputeEditMasks().paste, 0u);
    t.window.SelectNode(t.a, 1, nullptr, true);
    EXPECT_EQ(t.window.ComputeEditMasks().paste, 0u);
    t.window.SelectNode(t.a, 1, nullptr, false);
    EXPECT_NE(t.window.ComputeEditMasks().paste, 0u);

    // An arrow is cut to the clipboard's arrow slot and pasted back with nothing selected.
    t.window.AddArrow(new TreeArrow{1.0f, 1.0f, 2.0f, 1.5f, nullptr});
    t.window.SelectArrow(t.document.Arrows.At(0));
    t.window.UpdateEditMenuTexts(menu, false);
    EXPECT_EQ(ItemText(menu, 1202), "Cu&t Arrow\tCtrl+X");
    t.window.OnCommand(1202);
    EXPECT_EQ(t.document.Arrows.Count(), 0);
    t.window.ClearSelection();
    t.window.UpdateEditMenuTexts(menu, false);
    EXPECT_EQ(ItemText(menu, 1204), "&Paste Arrow\tCtrl+V");
    // Not into the tree hidden behind the custom interface.
    t.window.CustomInterfaceShown = 1;
    t.window.UpdateEditMenuTexts(menu, false);
    EXPECT_TRUE(MenuItemGrayed(menu, 1204));
    t.window.OnCommand(1204);
    EXPECT_EQ(t.document.Arrows.Count(), 0);
    t.window.CustomInterfaceShown = 0;
    t.window.OnCommand(1204);
    EXPECT_EQ(t.document.Arrows.Count(), 1);
    TheTreeClipboard().SetArrow(nullptr);
}

// Cut, Clear and Paste of the in-place edit's selection are one undo step each; Copy changes nothing.
TEST(TreeCommands, TextScopesEditTheOpenEditorAsOneStep)
{
    FocusTestLock focus;
    ClipboardTestLock clipboardLock;
    Screen screen;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    const struct {
        int command;
        const char* after;
        const char* action;
    } cases[] = {{1202, "Aha", "Cut Text"}, {1205, "Aha", "Clear Text"}, {1204, "Axyha", "Paste Text"},
                 {1188, "Axyha", "Paste Text"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Tree t;
        t.window.Show(SW_SHOW);
        Clipboard clipboard(&t.window);
        clipboard.Empty();
        clipboard.PutText("x\ty");  // a probability or node text takes no tab
        t.a->SetText("Alpha", false);
        t.window.SelectNode(t.a, 1, nullptr, false);
        ASSERT_NE(t.window.InPlaceEditor, nullptr);
        t.window.InPlaceEditor->SetSelection(1, 3);
        const std::string before = Outline(t.window);
        if (c.command != 1188) {
            t.window.OnCommand(1203);
            EXPECT_EQ(Outline(t.window), before);
            EXPECT_EQ(t.window.History().Count(), 0);
            if (c.command == 1204) {
                clipboard.Empty();
                clipboard.PutText("x\ty");
            }
        }
        t.window.OnCommand(c.command);
        EXPECT_STREQ(t.a->text.Text(), c.after);
        EXPECT_STREQ(t.LastActionName(), c.action);
        const std::string after = Outline(t.window);
        t.window.Undo();
        EXPECT_EQ(Outline(t.window), before);
        t.window.Redo();
        EXPECT_EQ(Outline(t.window), after);
        ExpectScreenEqualsRepaint(frame.Handle());
        if (c.command == 1202) {
            std::unique_ptr<char[]> cut(clipboard.GetText());
            EXPECT_STREQ(cut.get(), "lp");
        }
    }
}

// Hide Roll-Back Box only while rolled back, its clone counterparts following; zoom keeps the edit open;
// Enter Risk Preferences runs with utilities off and offers to switch them on when they were off.
TEST(TreeCommands, RollBackBoxesHideAndRiskPreferencesTurnOn)
{
    FocusTestLock focus;
    Screen screen;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    Tree t;
    t.window.Document().AddCloneMaster(t.a, "Alpha");
    TreeNode* copy = t.document.AddChild(t.document.Root, ChanceNode, "C");
    CopyCloneMaster(copy, t.a, nullptr);
    t.window.SelectNode(t.a->GetChild(0), 1, nullptr, false);
    t.window.OnCommand(1249);
    EXPECT_FALSE(RollBackBoxHidden(t.a->GetChild(0)));
    t.window.OnCommand(1612);
    t.window.SelectNode(t.a->GetChild(0), 1, nullptr, false);
    t.window.OnCommand(1249);
    EXPECT_TRUE(RollBackBoxHidden(t.a->GetChild(0)));
    EXPECT_TRUE(RollBackBoxHidden(copy->GetChild(0)));
    t.window.Show(SW_SHOW);
    ExpectScreenEqualsRepaint(frame.Handle());
    t.window.OnCommand(1612);

    // A zoom step keeps the in-place edit open.
    t.window.Show(SW_SHOW);
    t.window.SelectNode(t.b, 1, nullptr, false);
    ASSERT_NE(t.window.InPlaceEditor, nullptr);
    const double zoom = t.window.Pane()->Zoom();
    t.window.OnCommand(1350);
    EXPECT_GT(t.window.Pane()->Zoom(), zoom);
    EXPECT_NE(t.window.InPlaceEditor, nullptr);
    ExpectScreenEqualsRepaint(frame.Handle());

    TreeWindow gamble;
    TreeDocument& document = gamble.Document();
    TreeNode* chance = document.AddChild(document.Root, ChanceNode, "gamble");
    document.AddChild(chance, TerminalNode, "win", "0.5", "1000");
    document.AddChild(chance, TerminalNode, "lose", "0.5", "0");
    ModalDialogDriver driver;
    driver.Then([&document](DialogFrameCL&) { EXPECT_EQ(document.CalcPrefs.UseUtility, 0); })
        .Press(Ctl::EnterRiskPreferenceFunction::Two)
        .Press(IDOK)
        .Type(Ctl::RiskPreferenceAssessment2570::CE1Edit, "400")
        .Press(Ctl::RiskPreferenceAssessment2570::More);
    gamble.OnCommand(1407);
    EXPECT_EQ(screen.boxes.Last().text, "Do you want to turn on the risk preference function now?");
    EXPECT_EQ(document.CalcPrefs.UseUtility, 1);
    EXPECT_EQ(document.RiskAssessment.type, 2);
}

TEST(TreeCommands, FontChangesTheEditedTextOrTheTreeFont)
{
    Screen screen;
    Tree t;
    int chosen = 14;
    auto previous = SetFontDialogPresenter([&](CHOOSEFONTA& dialog) {
        dialog.iPointSize = chosen * 10;
        return 1;
    });
    // Nothing selected: the tree font, as one step.
    const int treeSize = t.document.DisplayPrefs.TreeFont.pointSize;
    t.window.OnCommand(1303);
    EXPECT_STREQ(t.LastActionName(), "Font Change");
    EXPECT_EQ(t.document.DisplayPrefs.TreeFont.pointSize, 14);
    t.window.Undo();
    EXPECT_EQ(t.document.DisplayPrefs.TreeFont.pointSize, treeSize);

    // A probability being edited: that node's probability font alone.
    TreeNode* leaf = t.a->GetChild(0);
    t.window.SelectNode(leaf, 2, nullptr, false);
    chosen = 20;
    t.window.OnCommand(1303);
    ASSERT_NE(leaf->fonts[1], nullptr);
    EXPECT_EQ(leaf->fonts[1]->pointSize, 20);
    EXPECT_EQ(leaf->fonts[0], nullptr);
    t.window.Undo();
    EXPECT_EQ(leaf->fonts[1], nullptr);

    // A highlighted subtree asks first; Yes gives every node of it the text font, and the history goes.
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.HighlightSubtree();
    screen.boxes.Answer(IDNO);
    t.window.OnCommand(1303);
    EXPECT_EQ(t.a->fonts[0], nullptr);
    t.window.OnCommand(1303);
    for (TreeNode* node : {t.a, leaf, t.a->GetChild(1)}) {
        ASSERT_NE(node->fonts[0], nullptr);
        EXPECT_EQ(node->fonts[0]->pointSize, 20);
    }
    EXPECT_EQ(t.b->fonts[0], nullptr);
    EXPECT_EQ(t.window.History().Count(), 0);
    EXPECT_EQ(screen.boxes.Count(), 2u);
    SetFontDialogPresenter(previous);
}

TEST(TreeCommands, ClonesAskAndRefuseRecursion)
{
    Screen screen;
    Tree t;
    t.window.Document().AddCloneMaster(t.a, "Alpha");
    // A clone goes onto a plain node: no branches, not terminal.
    t.a->GetChild(0)->SetKind(ChanceNode, false);
    t.window.SelectNode(t.a->GetChild(0), 1, nullptr, false);
    t.window.OnCommand(1207);
    EXPECT_EQ(screen.boxes.Last().text,
              "Attaching a clone to its own master subtree indicates a recursion which KIVO does not support.");
    EXPECT_EQ(t.a->GetChild(0)->cloneStatus, NotCloned);

    // Commands whose items are grayed are refused: Create Clone without the subtree highlighted, Attach
    // Clone on a node with branches, Add Branches on a clone copy.
    TreeNode* copy = t.document.AddChild(t.b->parent, TerminalNode, "C");
    CopyCloneMaster(copy, t.a, nullptr);
    const size_t asked = screen.boxes.Count();
    const std::string before = Outline(t.window);
    for (auto [node, command] : {std::pair{t.a, 1206}, {t.a, 1207}, {copy, 1403}}) {
        t.window.SelectNode(node, 1, nullptr, false);
        EXPECT_EQ(t.window.OnCommand(command), 1);
    }
    EXPECT_EQ(screen.boxes.Count(), asked);
    EXPECT_EQ(Outline(t.window), before);

    // Destroying asks first; cancelled, the master stays.
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.SubtreeSelection = 1;
    screen.boxes.Answer(IDCANCEL);
    t.window.OnCommand(1206);
    EXPECT_EQ(screen.boxes.Last().caption, "Destroy Clone");
    EXPECT_EQ(screen.boxes.Last().text, "Destroying this clone will detach it from all copies as well.");
    EXPECT_EQ(t.a->cloneStatus, CloneMasterNode);

    // Detaching a copy asks whether to keep its branches: Cancel keeps the copy, Yes a plain node with them.
    t.window.SelectNode(copy, 1, nullptr, false);
    screen.boxes.Answer(IDCANCEL);
    t.window.OnCommand(1207);
    EXPECT_EQ(screen.boxes.Last().text, "Do you want to keep an editable copy of the cloned subtree at the selected node?");
    EXPECT_EQ(copy->cloneStatus, CloneCopyNode);
    t.window.OnCommand(1207);
    EXPECT_EQ(copy->cloneStatus, NotCloned);
    EXPECT_EQ(copy->childCount, 2);

    // Cutting a master warns; the masters go at once, the cut itself stays undoable.
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.SubtreeSelection = 1;
    t.window.OnCommand(1202);
    t.window.SubtreeSelection = 0;
    EXPECT_EQ(screen.boxes.Last().text, "This cut or clear operation will destroy one or more clone masters. This "
                                        "part of the operation is NOT undo-able.");
    EXPECT_EQ(t.document.CloneMasters.Count(), 0);
    EXPECT_EQ(t.a->childCount, 0);
    t.window.Undo();
    EXPECT_EQ(t.a->childCount, 2);
}

// A loop through another master is refused as a direct one is: "B" holds a copy of the master "A", so a
// node inside "A" cannot become a copy of "B". Nothing is attached and no step is recorded.
TEST(TreeCommands, AttachCloneRefusesALoopThroughAnotherMaster)
{
    Screen screen;
    Tree t;
    t.window.Document().AddCloneMaster(t.a, "Alpha");
    t.b->SetKind(ChanceNode, false);
    CopyCloneMaster(t.document.AddChild(t.b, ChanceNode, "B1", "1"), t.a, nullptr);
    t.window.Document().AddCloneMaster(t.b, "Beta");
    auto choose = AttachCloneDialog::SetPresenter([](AttachCloneDialog& dialog) { return dialog.choice = 1, IDOK; });
    TreeNode* inside = t.a->GetChild(0);
    inside->SetKind(ChanceNode, false);
    const size_t steps = t.window.History().Count();
    t.window.SelectNode(inside, 1, nullptr, false);
    t.window.OnCommand(1207);
    AttachCloneDialog::SetPresenter(choose);
    ASSERT_EQ(screen.boxes.Count(), 1u);
    EXPECT_EQ(screen.boxes.Last().text,
              "Attaching a clone to its own master subtree indicates a recursion which KIVO does not support.");
    EXPECT_EQ(inside->cloneStatus, NotCloned);
    EXPECT_EQ(t.window.History().Count(), steps);
}

// A node holds at most 32767 branches: one more, built from code or added by Add Branch, Insert Branch,
// Paste or Delete Branch (of a child with two branches), is refused with a message; the tree stays as it was
// and no step is recorded.
TEST(TreeCommands, AFullNodeRefusesAnotherBranch)
{
    Screen screen;
    Tree t;
    TreeNode* pair = t.a->GetChild(0);
    pair->SetKind(ChanceNode, false);
    for (const char* name : {"x", "y"})
        t.document.AddChild(pair, TerminalNode, name, "0.5", "0");
    while (t.a->childCount < TreeNode::kMaxChildren)
        ASSERT_NE(t.document.AddChild(t.a, TerminalNode, "", "0", "0"), nullptr);
    auto below = InsertBranchDialog::SetPresenter([](InsertBranchDialog& d) { return d.mode = 40, IDOK; });
    TheTreeClipboard().Store(t.b, 0);
    const size_t steps = t.window.History().Count();
    EXPECT_EQ(t.document.AddChild(t.a, TerminalNode, "more"), nullptr);
    for (auto [node, command] : {std::pair{t.a, 1403}, {pair, 1404}, {t.a, 1204}, {pair, 1413}}) {
        t.window.SelectNode(node, 1, nullptr, false);
        t.window.OnCommand(command);
    }
    InsertBranchDialog::SetPresenter(below);
    ASSERT_EQ(screen.boxes.Count(), 5u);
    for (const auto& box : screen.boxes.Boxes())
        EXPECT_EQ(box.text, "The node \"A\" cannot have more than 32767 branches.");
    EXPECT_EQ(t.a->childCount, TreeNode::kMaxChildren);
    EXPECT_EQ(t.window.History().Count(), steps);
}

// Create Clone asks for a name until it is one no master has; the clone is one undo step.
TEST(TreeCommands, CreateCloneAsksForAnUnusedName)
{
    FocusTestLock focus;
    Screen screen;
    Tree t;
    t.window.Document().AddCloneMaster(t.b, "Alpha");
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.SubtreeSelection = 1;
    std::string caption, prompt;
    ModalDialogDriver driver;
    driver
        .Then([&](DialogFrameCL& dialog) {
            char text[100] = {};
            GetWindowTextA(dialog.Handle(), text, sizeof text);
            caption = text;
            GetWindowTextA(dialog.FindChild(Ctl::PromptOneLine::PromptText)->Handle(), text, sizeof text);
            prompt = text;
        })
        .Type(Ctl::PromptOneLine::NameField, "Alpha")
        .Press(IDOK)
        .Type(Ctl::PromptOneLine::NameField, "Beta")
        .Press(IDOK);
    t.window.OnCommand(1206);
    EXPECT_EQ(caption, "Create Clone");
    EXPECT_EQ(prompt, "Enter a name for your clone master at node \"A\".");
    EXPECT_EQ(screen.boxes.Last().text, "That clone name has already been used in this document.");
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(t.a->cloneStatus, CloneMasterNode);
        zString name;
        t.document.CloneName(t.a->cloneId, name);
        EXPECT_STREQ(name.Text(), "Beta");
        t.window.Undo();
        EXPECT_EQ(t.a->cloneStatus, NotCloned);
        t.window.Redo();
    }
}

// The edges of the command table: the variables popup's range, Ctrl+digit, a pending gesture dropped by any
// command, the optimal-path question of a reversed node, and a clone master kept when its deletion is
// cancelled.
TEST(TreeCommands, CommandTableEdges)
{
    Screen screen;
    MDIframeCL frame{nullptr, 0, "frame"};
    Tree t;
    t.document.EnsureVariable("x", "1");
    EXPECT_EQ(t.window.OnCommand(Cmd::FirstVariable), 1);
    EXPECT_EQ(t.window.OnCommand(Cmd::FirstVariable + 1), 0);

    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    t.window.OnCommand(1663);
    EXPECT_TRUE(t.window.IsNodeSelected(t.document.Root));
    t.window.OnCommand(1662);
    EXPECT_TRUE(t.window.IsNodeSelected(t.b));

    t.window.ClickMode = 2;
    EXPECT_EQ(t.window.OnCommand(9999), 0);
    EXPECT_EQ(t.window.ClickMode, 0);
    // Also a command that the base window takes.
    t.window.ClickMode = 1;
    SendMessageA(t.window.Handle(), WM_COMMAND, Cmd::RelayoutWindows, 0);
    EXPECT_EQ(t.window.ClickMode, 0);

    t.document.Root->SetKind(ReversedDecisionNode, false);
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    t.window.OnCommand(1412);
    EXPECT_EQ(screen.boxes.Last().text, "Do you want to change the optimal path of the selected node(s) to be the same "
                                        "as the default for this tree?");
    EXPECT_EQ(t.document.Root->kind, DecisionNode);

    t.window.Document().AddCloneMaster(t.a, "Alpha");
    TreeNode* copy = t.document.AddChild(t.document.Root, ChanceNode, "C");
    CopyCloneMaster(copy, t.a, nullptr);
    t.window.SelectNode(t.a, 1, nullptr, false);
    screen.boxes.Answer(IDCANCEL);
    t.window.OnCommand(1413);
    EXPECT_EQ(t.a->cloneStatus, CloneMasterNode);
    EXPECT_EQ(t.a->parent, t.document.Root);
    // Answered OK, the master and its copies' link go for good; the deletion itself is one undo step.
    t.window.OnCommand(1413);
    EXPECT_EQ(t.document.CloneMasters.Count(), 0);
    EXPECT_EQ(copy->cloneStatus, NotCloned);
    EXPECT_EQ(copy->childCount, 0);
    EXPECT_EQ(t.window.History().Count(), 1);
    t.window.Undo();
    EXPECT_EQ(t.a->parent, t.document.Root);
    EXPECT_EQ(t.a->childCount, 2);
}

// Commands of the node popup and the zoom, sent while their items are grayed, change nothing.
TEST(TreeCommands, GrayedPopupNoteAndZoomCommandsAreRefused)
{
    FocusTestLock focus;
    Screen screen;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    Tree t;
    t.window.Show(SW_SHOW);
    t.document.EnsureVariable("x", "1");
    auto define = DefineNewVariableDialog::SetPresenter([](DefineNewVariableDialog&) {
        ADD_FAILURE() << "a variable is defined";
        return IDCANCEL;
    });
    // Rolled back: no box hides for two nodes, and no variable is defined or opened while results show.
    t.window.OnCommand(1612);
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.SelectNode(t.b, 1, nullptr, true);
    t.window.OnCommand(1249);
    EXPECT_FALSE(RollBackBoxHidden(t.a) || RollBackBoxHidden(t.b));
    t.window.SelectNode(t.a, 1, nullptr, false);
    for (int command : {1195, static_cast<int>(Cmd::FirstVariable)})
        EXPECT_EQ(t.window.OnCommand(command), 1);
    EXPECT_EQ(t.window.ChildWindows().Count(), 0);
    t.window.OnCommand(1612);

    // A note box whose text is being edited is not bound.
    auto* note = new NoteBox(LogicalRect{1.0f, 1.0f, 2.0f, 2.0f}, &t.document);
    t.window.Document().AddNoteBox(note);
    t.window.SelectNoteBox(note, nullptr, true);
    ASSERT_NE(t.window.InPlaceEditor, nullptr);
    t.window.OnCommand(1319);
    EXPECT_EQ(screen.boxes.Count(), 0u);
    EXPECT_EQ(t.window.PendingNoteBinding, nullptr);

    // Behind the custom interface the tree keeps its zoom.
    t.window.CustomInterfaceShown = 1;
    const double zoom = t.window.Pane()->Zoom();
    EXPECT_EQ(t.window.OnCommand(1350), 1);
    EXPECT_EQ(t.window.Pane()->Zoom(), zoom);
    t.window.CustomInterfaceShown = 0;
    DefineNewVariableDialog::SetPresenter(define);
}

TEST(TreeCommands, RollBackTogglesAndOptimalPathsAreSelected)
{
    Screen screen;
    Tree t;
    t.window.SelectNode(t.a, 1, nullptr, false);
    t.window.OnCommand(1315);
    ASSERT_GT(t.window.History().Count(), 0);
    t.window.OnCommand(1612);
    EXPECT_EQ(t.document.RolledBack, RolledBackValues::Computed);
    EXPECT_EQ(t.window.History().Count(), 0);
    t.window.OnCommand(1612);
    EXPECT_EQ(t.document.RolledBack, RolledBackValues::None);
    t.window.OnCommand(1612);
    EXPECT_EQ(t.document.RolledBack, RolledBackValues::Computed);
    t.window.OnCommand(1612);

    // Two children of equal value are both on the optimal path.
    t.b->SetPayoffText("1.7", 0, false);
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    t.window.OnCommand(1610);
    EXPECT_TRUE(t.window.IsNodeSelected(t.a));
    EXPECT_TRUE(t.window.IsNodeSelected(t.b));

    screen.boxes.Clear();
    t.window.OnCommand(1611);
    ASSERT_EQ(screen.boxes.Count(), 1u);
    EXPECT_EQ(screen.boxes.Last().text, "All probabilities sum to 1.0.");

    // One Way needs a variable and no other analysis running: refused, it opens no set-up dialog.
    t.window.SelectNode(t.a, 1, nullptr, false);
    EXPECT_EQ(t.window.OnCommand(1651), 1);
    t.document.EnsureVariable("x", "1");
    {
        IdleAnalysis running(&t.document);
        EXPECT_EQ(t.window.OnCommand(1651), 1);
    }
    EXPECT_EQ(t.document.CurrentAnalysis, nullptr);
}
