// Value, preference, note and arrow edits: each is done, undone and redone with the whole tree's state
// (outline, second texts, fonts, Markov settings, notes and arrows) compared each time.

#include "treewin/TreeNoteActions.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include "framework/window/Clipboard.h"
#include "model/MarkovInfo.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "model/TreeOutline.h"
#include "model/VariableDefinition.h"
#include "framework/window/TopWindow.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/NoteBoxClipboard.h"
#include "treewin/TreeClipboard.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

void AppendNode(const TreeNode* node, std::string& out)
{
    out += node->text.Text();
    out += "|";
    out += node->text2.Text();
    for (const std::unique_ptr<FontRecord>& font : node->fonts)
        out += font != nullptr ? "|f" + std::to_string(font->pointSize) : "|-";
    const MarkovInfo* info = node->markovInfo.get();
    if (info != nullptr && (!info->jumpName.IsEmpty() || info->tunnelCount != 0))
        out += "|jump " + std::string(info->jumpName.Text()) + " tunnels " + std::to_string(info->tunnelCount);
    out += "\n";
    for (int i = 0; i < node->childCount; ++i)
        AppendNode(node->GetChild(i), out);
}

std::string State(TreeWindow& window)
{
    TreeDocument& tree = window.Document();
    zString outline;
    WriteTreeOutline(tree.Root, outline);
    std::string out = outline.Text();
    AppendNode(tree.Root, out);
    out += "tree font " + std::to_string(tree.DisplayPrefs.TreeFont.pointSize);
    out += " branches " + std::to_string(tree.DisplayPrefs.BranchesPerNode) + "\n";
    for (int i = 0; i < tree.NoteBoxes.Count(); ++i) {
        const NoteBox* note = tree.NoteBoxes.At(i);
        out += "note " + std::string(note->text.Text()) + " " + std::to_string(note->frame.left) + " " +
               std::to_string(note->frame.top) + " " + std::to_string(note->frame.right) + " " +
               std::to_string(note->font.pointSize) + "\n";
    }
    out += "arrows " + std::to_string(tree.Arrows.Count());
    return out;
}

// A node list that lives to the end of the full expression.
std::unique_ptr<NodeChildList> List(std::initializer_list<TreeNode*> nodes)
{
    auto list = std::make_unique<NodeChildList>(4, Ownership::Borrows);
    for (TreeNode* node : nodes)
        list->Add(node);
    return list;
}

// Root "R" with chance "A" (terminals "A1" and "A2" at 0.3 / 0.7, payoffs 1 and 2) and Markov "M" with
// state "S" (terminal "T" below it); "p" is bound to "0.5" at the root, the note "hello" lies at (1, 1).
struct Fixture {
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* a;
    TreeNode* a1;
    TreeNode* a2;
    TreeNode* state;
    TreeNode* leaf;
    NoteBox* note;

    Fixture()
    {
        tree.Root->SetText("R", false);
        a = tree.AddChild(tree.Root, ChanceNode, "A");
        a1 = tree.AddChild(a, TerminalNode, "A1", "0.3", "1");
        a2 = tree.AddChild(a, TerminalNode, "A2", "0.7", "2");
        TreeNode* markov = tree.AddChild(tree.Root, MarkovNode, "M");
        state = tree.AddChild(markov, ChanceNode, "S", "1");
        leaf = tree.AddChild(state, TerminalNode, "T", "1");
        window.Document().EnsureVariable("p", "");
        tree.Root->SetBinding("p", "0.5", false);
        FontRecord own;
        own.pointSize = 10;
        a->SetFont0(&own, false);
        note = new NoteBox(LogicalRect{1.0f, 1.0f, 2.0f, 1.5f}, &tree);
        note->text = "hello";
        window.Document().AddNoteBox(note);
        window.AddArrow(new TreeArrow{0.5f, 0.5f, 1.0f, 1.0f, nullptr});
    }
};

TEST(TreeValueAction, EachEditUndoesToTheOldStateAndRedoesToTheNew)
{
    using Make = std::function<UndoAction*(Fixture&)>;
    struct Case {
        const char* name;
        Make make;
    } cases[] = {
        {"preferences", [](Fixture& f) {
             TreeDisplayPrefs display = f.tree.DisplayPrefs;
             f.tree.DisplayPrefs.BranchesPerNode = 5;
             return new TreePreferencesAction(&f.window, display, f.tree.CalcPrefs, true); }},
        {"node font", [](Fixture& f) {
             FontRecord font;
             font.pointSize = 20;
             return new TreeFontChangeAction(&f.window, f.a, 1, font); }},
        {"note font", [](Fixture& f) {
             FontRecord font;
             font.pointSize = 30;
             f.window.SelectNoteBox(f.note, nullptr, false);
             return new TreeFontChangeAction(&f.window, nullptr, 3, font); }},
        {"document font", [](Fixture& f) {
             FontRecord font;
             font.pointSize = 7;
             return new TreeDocumentFontAction(&f.window, font); }},
        {"payoff", [](Fixture& f) {
             const char* texts[4] = {"10", "", "", ""};
             const bool flags[4] = {true, false, false, false};
             return new TreeChangePayoffAction(&f.window, *List({f.a1, f.a2}), texts, flags); }},
        {"variable", [](Fixture& f) {
             return new TreeDefineVariableAction(&f.window, *List({f.a}), "p", "0.9"); }},
        {"wheel", [](Fixture& f) {
             NameList texts;
             texts.AddText("0.6");
             texts.AddText("0.4");
             std::vector<TreeProbabilityWheelAction::VariableRecord> records(1);
             records[0].name = "p";
             records[0].newText = "0.25";
             RecordPath(f.tree.Root, records[0].path);
             return new TreeProbabilityWheelAction(&f.window, f.a, records, texts); }},
        {"markov jump", [](Fixture& f) { return new TreeMarkovJumpAction(&f.window, *List({f.leaf}), "S"); }},
        {"markov termination", [](Fixture& f) {
             const char* texts[4] = {"_stage > 5", "", "", ""};
             return new TreeMarkovTerminationAction(&f.window, f.tree.Root->GetChild(1), texts, "_stage > 9"); }},
        {"markov state info", [](Fixture& f) {
             const char* rewards[3][4] = {{"1", "", "", ""}, {"2", "", "", ""}, {"3", "", "", ""}};
             return new TreeMarkovStateInfoAction(&f.window, *List({f.state}), 2, rewards); }},
        {"markov transition rewards", [](Fixture& f) {
             const char* texts[4] = {"4", "", "", ""};
             const bool flags[4] = {true, false, false, false};
             return new TreeMarkovTransitionRewardsAction(&f.window, *List({f.leaf}), texts, flags); }},
        {"create note", [](Fixture& f) {
             return new TreeCreateNoteAction(&f.window, LogicalRect{3.0f, 3.0f, 4.0f, 4.0f}); }},
        {"bind note", [](Fixture& f) { return new TreeBindNoteAction(&f.window, f.note, f.a1); }},
        {"move note", [](Fixture& f) {
             return new TreeMoveNoteAction(&f.window, f.note, LogicalRect{2.0f, 2.0f, 3.0f, 2.5f}, false); }},
        {"clear note", [](Fixture& f) {
             f.window.SelectNoteBox(f.note, nullptr, false);
             return new TreeCutNoteAction(&f.window, false); }},
        {"cut arrow", [](Fixture& f) {
             f.window.SelectArrow(f.tree.Arrows.At(0));
             return new TreeCutArrowAction(&f.window); }},
        {"paste arrow", [](Fixture& f) { return new TreePasteArrowAction(&f.window); }},
        {"clear arrow", [](Fixture& f) {
             f.window.SelectArrow(f.tree.Arrows.At(0));
             return new TreeClearArrowAction(&f.window); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TreeArrow onClipboard{5.0f, 5.0f, 6.0f, 5.0f, nullptr};
        TheTreeClipboard().SetArrow(&onClipboard);
        Fixture f;
        const std::string before = State(f.window);
        f.window.AddUndoAction(c.make(f));
        const std::string after = State(f.window);
        EXPECT_NE(after, before);
        for (int round = 0; round < 2; ++round) {
            f.tree.SetModified(0);
            f.window.Undo();
            EXPECT_EQ(State(f.window), before);
            EXPECT_EQ(f.tree.Modified, 1);
            f.window.Redo();
            EXPECT_EQ(State(f.window), after);
        }
    }
    TheTreeClipboard().SetArrow(nullptr);
}

zString Payoff(TreeNode* node, int i)
{
    zString text;
    node->GetPayoffText(text, i);
    return text;
}

TEST(TreeValueAction, ChangesOnlyWhatItNames)
{
    Fixture f;
    // Payoffs 1 and 4 only.
    f.a1->SetPayoffText("b", 1, false);
    const char* texts[4] = {"x", "y", "z", "w"};
    const bool flags[4] = {true, false, false, true};
    f.window.AddUndoAction(new TreeChangePayoffAction(&f.window, *List({f.a1}), texts, flags));
    EXPECT_STREQ(Payoff(f.a1, 0).Text(), "x");
    EXPECT_STREQ(Payoff(f.a1, 1).Text(), "b");
    EXPECT_STREQ(Payoff(f.a1, 3).Text(), "w");
    f.window.Undo();
    EXPECT_STREQ(Payoff(f.a1, 0).Text(), "1");
    EXPECT_STREQ(Payoff(f.a1, 3).Text(), "");

    // An empty definition removes the binding; undo gives back the old expression, or no binding at a
    // node that had none.
    f.window.AddUndoAction(new TreeDefineVariableAction(&f.window, NodeChildList(4, Ownership::Borrows), "p", ""));
    EXPECT_EQ(f.tree.Root->FindBinding("p", false), nullptr);
    EXPECT_STREQ(f.window.CurrentUndoAction()->name.Text(), "Define Variable \"p\"");
    f.window.Undo();
    ASSERT_NE(f.tree.Root->FindBinding("p", false), nullptr);
    EXPECT_STREQ(f.tree.Root->FindBinding("p", false)->definition.Text().Text(), "0.5");
    f.window.AddUndoAction(new TreeDefineVariableAction(&f.window, *List({f.a}), "p", "0.2"));
    f.window.Undo();
    EXPECT_EQ(f.a->FindBinding("p", false), nullptr);

    // A probability font the node never had goes again: the node has the document's.
    FontRecord big;
    big.pointSize = 40;
    f.window.AddUndoAction(new TreeFontChangeAction(&f.window, f.a1, 2, big));
    f.window.Undo();
    EXPECT_EQ(f.a1->fonts[1], nullptr);

    // State info over two nodes keeps their tunnel counts.
    const char* rewards[3][4] = {{"1", "", "", ""}, {"", "", "", ""}, {"", "", "", ""}};
    f.state->SetMarkovTunnelCount(3, false);
    f.window.AddUndoAction(new TreeMarkovStateInfoAction(&f.window, *List({f.state, f.leaf}), 7, rewards));
    EXPECT_EQ(f.state->markovInfo->tunnelCount, 3);

    // A note in the tree font leaves the node's third font alone; unbinding makes the note again.
    f.note->font = f.tree.DisplayPrefs.TreeFont;
    f.window.AddUndoAction(new TreeBindNoteAction(&f.window, f.note, f.a2));
    EXPECT_EQ(f.a2->fonts[2], nullptr);
    EXPECT_STREQ(f.a2->text2.Text(), "hello");
    EXPECT_EQ(f.tree.NoteBoxes.Count(), 0);
    f.window.AddUndoAction(new TreeUnbindNoteAction(&f.window, f.a2));
    EXPECT_STREQ(f.a2->text2.Text(), "");
    ASSERT_EQ(f.tree.NoteBoxes.Count(), 1);
    EXPECT_STREQ(f.tree.NoteBoxes.At(0)->text.Text(), "hello");
    EXPECT_EQ(f.window.SelectedNote, f.tree.NoteBoxes.At(0));
    f.window.Undo();
    EXPECT_STREQ(f.a2->text2.Text(), "hello");
    EXPECT_EQ(f.tree.NoteBoxes.Count(), 0);
}

TEST(TreeValueAction, CutNoteGoesToTheClipboardAndPasteCentresIt)
{
    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    TopWindow owner(nullptr, nullptr, WS_OVERLAPPEDWINDOW, "notes");
    owner.Create();
    Fixture f;
    Clipboard clipboard = MainWindowClipboard();
    clipboard.Empty();
    clipboard.PutText("user text");
    f.window.SelectNoteBox(f.note, nullptr, false);
    f.window.AddUndoAction(new TreeCutNoteAction(&f.window, true));
    EXPECT_EQ(f.tree.NoteBoxes.Count(), 0);
    EXPECT_TRUE(IsNoteBoxOnClipboard());
    f.window.Undo();
    EXPECT_EQ(f.tree.NoteBoxes.Count(), 1);
    EXPECT_FALSE(IsNoteBoxOnClipboard());
    f.window.Redo();

    f.window.AddUndoAction(new TreePasteNoteAction(&f.window));
    ASSERT_EQ(f.tree.NoteBoxes.Count(), 1);
    const NoteBox* pasted = f.tree.NoteBoxes.At(0);
    const LogicalRect view = f.window.VisibleArea();
    // A note pasted above or left of the drawing moves the tree by as much as the note moves back.
    const float treeMoved = f.tree.Root->Geometry().X - TreeLayout::kTreeStart;
    EXPECT_NEAR(pasted->frame.left + pasted->frame.right, view.left + view.right + 2 * treeMoved, 1e-4);
    EXPECT_NEAR(pasted->frame.right - pasted->frame.left, 1.0 + 2 * NoteBox::kMargin, 1e-4);
    f.window.Undo();
    EXPECT_EQ(f.tree.NoteBoxes.Count(), 0);
}

TEST(TreeValueAction, ArrowsTravelThroughTheTreeClipboardsArrowSlot)
{
    Fixture f;
    TreeArrow before{5.0f, 5.0f, 7.0f, 6.0f, nullptr};
    TheTreeClipboard().SetArrow(&before);
    f.window.SelectArrow(f.tree.Arrows.At(0));
    f.window.AddUndoAction(new TreeCutArrowAction(&f.window));
    EXPECT_EQ(f.tree.Arrows.Count(), 0);
    EXPECT_EQ(TheTreeClipboard().Arrow()->headX, 1.0f);
    f.window.Undo();
    EXPECT_EQ(TheTreeClipboard().Arrow()->headX, 7.0f);
    EXPECT_EQ(f.window.SelectedArrow, f.tree.Arrows.At(0));

    // An arrow pasted above or left of the drawing moves the tree by as much as the arrow moves back.
    const NodeGeometry& root = f.tree.Root->Geometry();
    const float beforeX = root.X, beforeY = root.Y;
    f.window.AddUndoAction(new TreePasteArrowAction(&f.window));
    ASSERT_EQ(f.tree.Arrows.Count(), 2);
    const TreeArrow* pasted = f.tree.Arrows.At(1);
    const LogicalRect view = f.window.VisibleArea();
    EXPECT_NEAR(pasted->tailX + pasted->headX, view.left + view.right + 2 * (root.X - beforeX), 1e-4);
    EXPECT_NEAR(pasted->tailY + pasted->headY, view.top + view.bottom + 2 * (root.Y - beforeY), 1e-4);
    EXPECT_NEAR(pasted->headX - pasted->tailX, 2.0, 1e-4);
    EXPECT_EQ(f.window.SelectedArrow, pasted);
    TheTreeClipboard().SetArrow(nullptr);
}

}  // namespace
