#pragma once
// Undo actions of the note boxes and arrows drawn on a tree. Notes are found again by content (a snapshot);
// a note or arrow taken out of the tree belongs to the action while it is out.

#include "foundation/FontRecord.h"
#include "foundation/LogicalRect.h"
#include "treewin/TreeAction.h"

#include <memory>
#include <optional>

class Clipboard;
class ClipboardSnapshot;
struct TreeArrow;

// "Create Note": a note box with the frame (inches).
class TreeCreateNoteAction : public TreeAction {
public:
    TreeCreateNoteAction(TreeWindow* tree, const LogicalRect& frame);
    void Do() override;
    void Undo() override;

    LogicalRect frame;
    NoteSnapshot snapshot;
};

// "Bind Note": the note becomes the node's second text (its font the node's third font when it is not the
// tree font) and leaves the drawing.
class TreeBindNoteAction : public TreeAction {
public:
    TreeBindNoteAction(TreeWindow* tree, NoteBox* note, TreeNode* node);
    void Do() override;
    void Undo() override;

    zString path;
    NoteSnapshot snapshot;
    LogicalRect textFrame;
    FontRecord font;
    // The node's own font of its second text before the note took it (none: the tree's).
    std::optional<FontRecord> nodeFont;
    // The note's place in the list of notes, while it is bound.
    int index = -1;
};

// "Unbind Note": the node's second text becomes a note box in the place it was shown.
class TreeUnbindNoteAction : public TreeAction {
public:
    TreeUnbindNoteAction(TreeWindow* tree, TreeNode* node);
    void Do() override;
    void Undo() override;

    zString path;
    zString text;
    NoteSnapshot snapshot;
};

// "Move Note" / "Resize Note": every toggle exchanges the note's frame with the kept one.
class TreeMoveNoteAction : public TreeAction {
public:
    TreeMoveNoteAction(TreeWindow* tree, NoteBox* note, const LogicalRect& frame, bool resize);
    void Do() override;
    void Undo() override { Do(); }

    NoteSnapshot snapshot;
    LogicalRect frame;
};

// "Paste Note": the note on the clipboard, centred in the part of the pane in view.
class TreePasteNoteAction : public TreeAction {
public:
    explicit TreePasteNoteAction(TreeWindow* tree);
    ~TreePasteNoteAction() override;
    void Do() override;
    void Undo() override;

    // The note while it is out of the tree; none when the clipboard held none.
    std::unique_ptr<NoteBox> note;
    NoteSnapshot snapshot;
};

// "Cut Note" / "Clear Note" of the selected note; a cut puts it on the clipboard, whose former contents
// come back on undo.
class TreeCutNoteAction : public TreeAction {
public:
    TreeCutNoteAction(TreeWindow* tree, bool cut);
    ~TreeCutNoteAction() override;
    void Do() override;
    void Undo() override;

    bool cut;
    NoteSnapshot snapshot;
    std::unique_ptr<NoteBox> removed;
    // Its place in the list of notes, while it is out.
    int index = -1;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<ClipboardSnapshot> saved;
};

// "Paste Arrow": a copy of the tree clipboard's arrow, centred in the part of the pane in view.
class TreePasteArrowAction : public TreeAction {
public:
    explicit TreePasteArrowAction(TreeWindow* tree);
    ~TreePasteArrowAction() override;
    void Do() override;
    void Undo() override;

    // None when the clipboard held no arrow.
    TreeArrow* arrow;
    bool inTree = false;
};

// "Cut Arrow": the selected arrow goes to the tree clipboard, whose former arrow comes back on undo.
class TreeCutArrowAction : public TreeAction {
public:
    explicit TreeCutArrowAction(TreeWindow* tree);
    ~TreeCutArrowAction() override;
    void Do() override;
    void Undo() override;

    TreeArrow* arrow;
    bool holdsArrow = false;
    // Its place in the list of arrows, while it is out.
    int index = -1;
    // The clipboard's arrow before the cut, while the cut is applied.
    std::unique_ptr<TreeArrow> saved;
};

// "Clear Arrow" of the selected arrow.
class TreeClearArrowAction : public TreeAction {
public:
    explicit TreeClearArrowAction(TreeWindow* tree);
    ~TreeClearArrowAction() override;
    void Do() override;
    void Undo() override;

    TreeArrow* arrow;
    // The arrow belongs to the action while it is out of the tree.
    bool holdsArrow = false;
    // Its place in the list of arrows, while it is out.
    int index = -1;
};
