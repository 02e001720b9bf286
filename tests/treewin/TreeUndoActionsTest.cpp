// Tree undo actions keep nodes as paths and notes by content, so they survive other edits of the tree.

#include "treewin/TreeTextActions.h"
#include "treewin/TreeWindow.h"

#include "widgets/UndoHistory.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const TreeNode* node)
{
    return node->text.Text();
}

TEST(TreeTypingAction, OneEditIsOneStepThatUndoesAndRedoesAfterOtherEdits)
{
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* first = tree.AddChild(tree.Root, ChanceNode, "First");
    TreeNode* second = tree.AddChild(tree.Root, ChanceNode, "No");

    // The editor: the action opens at the first change, the node follows the typing, closing takes the text.
    window.AddUndoAction(new TreeTextTypingAction(&window, second, 1, "No"));
    second->SetText("Yes", true);
    auto* typing = static_cast<TreeTextTypingAction*>(window.CurrentUndoAction());
    ASSERT_EQ(typing->open, 1);
    typing->newText = "Yes";
    typing->Close();
    EXPECT_EQ(window.History().Count(), 1);
    EXPECT_STREQ(window.History().UndoMenuText().Text(), "&Undo Typing\tCtrl+Z");

    // An unrelated edit elsewhere: the path still leads to the node.
    tree.AddChild(first, TerminalNode, "Leaf");
    tree.SetModified(0);
    window.Undo();
    EXPECT_EQ(Text(second), "No");
    EXPECT_EQ(tree.Modified, 1);
    EXPECT_EQ(window.CurrentNode(), second);
    tree.SetModified(0);
    window.Redo();
    EXPECT_EQ(Text(second), "Yes");
    EXPECT_EQ(tree.Modified, 1);

    // The node is gone: taking the step back changes nothing and touches no other node.
    tree.Root->RemoveChild(second);
    delete second;
    window.Undo();
    EXPECT_EQ(Text(first), "First");
    EXPECT_EQ(tree.Root->childCount, 1);
}

TEST(TreeTypingAction, ProbabilityAndNoteTextsFollowUndoAndRedo)
{
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* branch = tree.AddChild(tree.Root, ChanceNode, "B", "0.2");
    window.AddUndoAction(new TreePasteTextAction(&window, branch, 2, "0.2", "0.4"));
    zString probability;
    branch->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "0.4");
    EXPECT_EQ(window.EditField, 2);

    auto* note = new NoteBox(LogicalRect{1.0f, 1.0f, 2.0f, 2.0f}, &tree);
    note->text = "old";
    window.Document().AddNoteBox(note);
    window.SelectNoteBox(note, nullptr, true);
    note->text = "new";
    window.AddUndoAction(new TreeClearTextAction(&window, nullptr, 3, "old", "new"));
    window.Undo();
    EXPECT_STREQ(note->text.Text(), "old");
    window.Redo();
    EXPECT_STREQ(note->text.Text(), "new");
    EXPECT_EQ(window.SelectedNote, note);
    window.Undo();
    window.Undo();
    branch->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "0.2");
}

TEST(NoteSnapshot, NotesOfEqualTextAreToldApartBySizeThenPosition)
{
    TreeWindow window;
    TreeDocument& tree = window.Document();
    // Frames (left, top, width, height) of three notes of the same text, in the window's order.
    struct Frame {
        float left, top, width, height;
    };
    const Frame frames[] = {{0.0f, 0.0f, 1.0f, 1.0f}, {3.0f, 0.0f, 1.0f, 1.0f}, {5.0f, 0.0f, 2.0f, 1.0f},
                            {0.0004f, 0.0f, 1.0f, 1.0f}};
    for (const Frame& frame : frames) {
        auto* note = new NoteBox();
        note->text = "same";
        note->frame = LogicalRect{frame.left, frame.top, frame.left + frame.width, frame.top + frame.height};
        window.Document().AddNoteBox(note);
    }
    struct Case {
        Frame snapshot;
        int expected;  // index in the window's order, -1: none
    } cases[] = {
        {{5.0f, 0.0f, 2.0f, 1.0f}, 2},         // the only one of its size
        {{3.0f, 0.0f, 1.0f, 1.0f}, 1},         // same size as note 0: told apart by position
        {{3.0005f, 0.0f, 1.0f, 1.0f}, 1},      // position within 0.001
        {{3.005f, 0.0f, 1.0f, 1.0f}, -1},      // none of its size lies within 0.001 of it
        {{0.0f, 0.0f, 1.5f, 1.0f}, -1},        // no size matches within 0.001
        {{0.0002f, 0.0f, 1.0f, 1.0f}, 0},      // two match closely: the first in order
    };
    for (const Case& c : cases) {
        NoteSnapshot snapshot;
        snapshot.text = "same";
        snapshot.left = c.snapshot.left;
        snapshot.top = c.snapshot.top;
        snapshot.width = c.snapshot.width;
        snapshot.height = c.snapshot.height;
        NoteBox* expected = c.expected < 0 ? nullptr : tree.NoteBoxes.At(c.expected);
        EXPECT_EQ(snapshot.Find(window), expected) << c.snapshot.left << " " << c.snapshot.width;
    }
}

}  // namespace
