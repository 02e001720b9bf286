#include "treewin/TreeNoteActions.h"

#include "widgets/ClipboardSnapshot.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/NoteBoxClipboard.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeWindow.h"

#include <utility>

namespace {

// Takes the note out of the window and frees it.
void DeleteNote(TreeWindow& window, NoteBox* note)
{
    window.RemoveNoteBox(note);
    delete note;
}

// A new note of the window whose text area is the rectangle, with the text and font.
NoteBox* MakeNote(TreeWindow& window, const LogicalRect& textRect, const zString& text, const FontRecord* font)
{
    auto* note = new NoteBox(textRect, &window.Document());
    note->text = text;
    if (font != nullptr)
        note->font = *font;
    return note;
}

} // namespace

TreeCreateNoteAction::TreeCreateNoteAction(TreeWindow* tree, const LogicalRect& frame)
    : TreeAction(tree, "Create Note"), frame(frame)
{
}

void TreeCreateNoteAction::Do()
{
    auto* note = new NoteBox(LogicalRect{0.0f, 0.0f, 0.0f, 0.0f}, &tree->Document());
    note->frame = frame;
    tree->Document().AddNoteBox(note);
    tree->Relayout();
    tree->SelectNoteBox(note, nullptr, false);
    snapshot = NoteSnapshot();
    snapshot.Take(note);
}

void TreeCreateNoteAction::Undo()
{
    if (NoteBox* note = snapshot.Find(*tree))
        DeleteNote(*tree, note);
    tree->Relayout();
}

TreeBindNoteAction::TreeBindNoteAction(TreeWindow* tree, NoteBox* note, TreeNode* node)
    : TreeAction(tree, "Bind Note"), textFrame(note->GetTextRect()), font(note->font)
{
    RecordPath(node, path);
    snapshot.Take(note);
    if (node->fonts[2] != nullptr)
        nodeFont = *node->fonts[2];
}

void TreeBindNoteAction::Do()
{
    TreeNode* node = ResolvePath(path);
    NoteBox* note = snapshot.Find(*tree);
    if (node == nullptr || note == nullptr)
        return;
    node->SetText2(note->text.Text(), true);
    if (note->font != tree->DefaultFont(TreeTextFont))
        node->SetFont2(&note->font, true);
    index = tree->Document().NoteBoxes.IndexOf(note);
    DeleteNote(*tree, note);
    tree->RedrawNode(node, 0);
    tree->SelectNode(node, 4, nullptr, false);
}

void TreeBindNoteAction::Undo()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    NoteBox* note = MakeNote(*tree, textFrame, node->text2, &font);
    node->SetText2("", true);
    node->SetFont2(nodeFont ? &*nodeFont : nullptr, true);
    tree->Document().AddNoteBox(note, index);
    tree->RedrawNode(node, 0);
    tree->SelectNoteBox(note, nullptr, false);
}

TreeUnbindNoteAction::TreeUnbindNoteAction(TreeWindow* tree, TreeNode* node)
    : TreeAction(tree, "Unbind Note"), text(node->text2)
{
    RecordPath(node, path);
}

void TreeUnbindNoteAction::Do()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    NoteBox* note = MakeNote(*tree, SecondTextRect(*tree, node, false), text, node->fonts[2].get());
    node->SetText2("", true);
    tree->Document().AddNoteBox(note);
    snapshot = NoteSnapshot();
    snapshot.Take(note);
    tree->RedrawNode(node, 0);
    tree->SelectNoteBox(note, nullptr, false);
}

void TreeUnbindNoteAction::Undo()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    node->SetText2(text.Text(), true);
    if (NoteBox* note = snapshot.Find(*tree))
        DeleteNote(*tree, note);
    tree->RedrawNode(node, 0);
    tree->SelectNode(node, 4, nullptr, false);
}

TreeMoveNoteAction::TreeMoveNoteAction(TreeWindow* tree, NoteBox* note, const LogicalRect& frame, bool resize)
    : TreeAction(tree, resize ? "Resize Note" : "Move Note"), frame(frame)
{
    snapshot.Take(note);
}

void TreeMoveNoteAction::Do()
{
    NoteBox* note = snapshot.Find(*tree);
    if (note == nullptr)
        return;
    std::swap(note->frame, frame);
    snapshot.Take(note);
    tree->Relayout();
    tree->SelectNoteBox(note, nullptr, false);
}

TreePasteNoteAction::TreePasteNoteAction(TreeWindow* tree)
    : TreeAction(tree, "Paste Note"), note(GetNoteBoxFromClipboard())
{
}

TreePasteNoteAction::~TreePasteNoteAction() = default;

void TreePasteNoteAction::Do()
{
    if (note == nullptr)
        return;
    NoteBox* added = note.release();
    added->ownerTree = &tree->Document();
    tree->Document().AddNoteBox(added);
    const LogicalRect view = tree->VisibleArea();
    const float width = added->frame.right - added->frame.left;
    const float height = added->frame.bottom - added->frame.top;
    added->frame.left = (view.left + view.right - width) / 2;
    added->frame.top = (view.top + view.bottom - height) / 2;
    added->frame.right = added->frame.left + width;
    added->frame.bottom = added->frame.top + height;
    tree->Relayout();
    tree->SelectNoteBox(added, nullptr, false);
    snapshot = NoteSnapshot();
    snapshot.Take(added);
}

void TreePasteNoteAction::Undo()
{
    NoteBox* found = snapshot.Find(*tree);
    if (found == nullptr)
        return;
    tree->RemoveNoteBox(found);
    note.reset(found);
    tree->Relayout();
}

TreeCutNoteAction::TreeCutNoteAction(TreeWindow* tree, bool cut)
    : TreeAction(tree, cut ? "Cut Note" : "Clear Note"), cut(cut)
{
    snapshot.Take(tree->SelectedNote);
}

TreeCutNoteAction::~TreeCutNoteAction() = default;

void TreeCutNoteAction::Do()
{
    NoteBox* note = snapshot.Find(*tree);
    if (note == nullptr)
        return;
    index = tree->Document().NoteBoxes.IndexOf(note);
    tree->RemoveNoteBox(note);
    removed.reset(note);
    if (cut) {
        clipboard = std::make_unique<Clipboard>(MainWindowClipboard());
        saved = std::make_unique<ClipboardSnapshot>(*clipboard);
        PutNoteBoxOnClipboard(*note);
    }
    tree->Relayout();
}

void TreeCutNoteAction::Undo()
{
    if (removed == nullptr)
        return;
    NoteBox* note = removed.release();
    tree->Document().AddNoteBox(note, index);
    if (saved != nullptr) {
        saved->Restore();
        saved.reset();
    }
    tree->Relayout();
    tree->SelectNoteBox(note, nullptr, false);
}

TreeClearArrowAction::TreeClearArrowAction(TreeWindow* tree)
    : TreeAction(tree, "Clear Arrow"), arrow(tree->SelectedArrow)
{
}

TreeClearArrowAction::~TreeClearArrowAction()
{
    if (holdsArrow)
        delete arrow;
}

void TreeClearArrowAction::Do()
{
    if (arrow == nullptr)
        return;
    index = tree->Document().Arrows.IndexOf(arrow);
    tree->RemoveArrow(arrow);
    holdsArrow = true;
    tree->Relayout();
}

void TreeClearArrowAction::Undo()
{
    if (arrow == nullptr)
        return;
    tree->AddArrow(arrow, index);
    holdsArrow = false;
    tree->SelectArrow(arrow);
    tree->Relayout();
}

TreePasteArrowAction::TreePasteArrowAction(TreeWindow* tree)
    : TreeAction(tree, "Paste Arrow"),
      arrow(TheTreeClipboard().Arrow() != nullptr ? new TreeArrow(*TheTreeClipboard().Arrow()) : nullptr)
{
}

TreePasteArrowAction::~TreePasteArrowAction()
{
    if (!inTree)
        delete arrow;
}

void TreePasteArrowAction::Do()
{
    if (arrow == nullptr)
        return;
    tree->AddArrow(arrow);
    inTree = true;
    const LogicalRect view = tree->VisibleArea();
    const float dx = (view.left + view.right - arrow->tailX - arrow->headX) / 2;
    const float dy = (view.top + view.bottom - arrow->tailY - arrow->headY) / 2;
    arrow->tailX += dx;
    arrow->headX += dx;
    arrow->tailY += dy;
    arrow->headY += dy;
    tree->Relayout();
    tree->SelectArrow(arrow);
}

void TreePasteArrowAction::Undo()
{
    if (arrow == nullptr)
        return;
    tree->RemoveArrow(arrow);
    inTree = false;
    tree->Relayout();
}

TreeCutArrowAction::TreeCutArrowAction(TreeWindow* tree) : TreeAction(tree, "Cut Arrow"), arrow(tree->SelectedArrow)
{
}

TreeCutArrowAction::~TreeCutArrowAction()
{
    if (holdsArrow)
        delete arrow;
}

void TreeCutArrowAction::Do()
{
    if (arrow == nullptr)
        return;
    index = tree->Document().Arrows.IndexOf(arrow);
    tree->RemoveArrow(arrow);
    holdsArrow = true;
    TreeClipboard& clipboard = TheTreeClipboard();
    saved.reset(clipboard.Arrow() != nullptr ? new TreeArrow(*clipboard.Arrow()) : nullptr);
    clipboard.SetArrow(arrow);
    tree->Relayout();
}

void TreeCutArrowAction::Undo()
{
    if (arrow == nullptr)
        return;
    tree->AddArrow(arrow, index);
    holdsArrow = false;
    TheTreeClipboard().SetArrow(saved.get());
    saved.reset();
    tree->SelectArrow(arrow);
    tree->Relayout();
}
