// The tree window's selection, its key operation and its undo history.

#include "treewin/TreeWindow.h"

#include "foundation/MessageBoxes.h"
#include "framework/window/WindowEvent.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "widgets/FrameCommands.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/InputHelpers.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/StatusMessage.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeArrowDrawing.h"
#include "treewin/TreeNoteActions.h"
#include "treewin/TreePainter.h"
#include "treewin/TreePane.h"

#include <cctype>
#include <string>
#include <unordered_set>

#include <windows.h>

namespace {

constexpr int kHomeKey = VK_HOME;
constexpr int kLeftKey = VK_LEFT;
constexpr int kUpKey = VK_UP;
constexpr int kRightKey = VK_RIGHT;
constexpr int kDownKey = VK_DOWN;

bool IsArrowKey(int key)
{
    return key >= kLeftKey && key <= kDownKey;
}

bool IsControlHeld()
{
    return GetKeyState(VK_CONTROL) < 0;
}

} // namespace

TreeNode* TreeWindow::CurrentNode() const
{
    return Selection.Count() > 0 ? Selection.At(0) : nullptr;
}

bool TreeWindow::IsSelectedOrUnderSelection(const TreeNode* node) const
{
    if (IsNodeSelected(node))
        return true;
    if (node->IsInCloneCopy() || !SubtreeSelection || Selection.Count() == 0)
        return false;
    return node->IsDescendantOf(Selection.At(0));
}

// A roll back points at its whole optimal path, up to the selection's limit of nodes: the selection takes its
// room at once and the nodes met are kept in a set, as looking each up in the selection, or growing it a few
// slots at a time, would take time growing with the square of their number.
void TreeWindow::PointAt(const NodeChildList& nodes)
{
    Selection.RemoveAll();
    Selection.SetCapacity(nodes.Count());
    std::unordered_set<const TreeNode*> added;
    for (int i = 0; i < nodes.Count(); ++i)
        if (added.insert(nodes.At(i)).second)
            Selection.Add(nodes.At(i));
    InvalidateAll();
}

TreeNode* TreeWindow::ResolveSelectableNode(TreeNode* node)
{
    if (node->IsInCloneCopy())
        node = node->CloneCopyRoot();
    if (node->IsInCollapsedSubtree())
        node = node->TopCollapsedAncestor();
    return node;
}

void TreeWindow::SelectNode(TreeNode* node, int field, const void* point, bool extend)
{
    NodeChildList& selection = Selection;
    if (!extend && selection.Count() == 1 && selection.At(0) == node && EditField == field)
        return;
    node = ResolveSelectableNode(node);
    // Clearing the selection drops a pending binding: the note to bind is taken first.
    NoteBox* binding = PendingNoteBinding;
    if (!extend || SelectedNote != nullptr || SelectedArrow != nullptr) {
        ++document.SuspendVariablesSync;
        ClearSelection();
        --document.SuspendVariablesSync;
    } else if (selection.Contains(node)) {
        CloseInPlaceEdit();
        selection.RemovePtr(node);
        ::InvalidateNode(*this, node, false);
        FollowSelection();
        if (selection.Count() == 1 && document.SuspendChildRefresh == 0)
            OpenInPlaceEditor();
        return;
    } else {
        CloseInPlaceEdit();
    }
    if (SubtreeSelection != 0)
        UnhighlightSubtree();
    selection.Add(node);
    EditField = field;
    FollowSelection();
    ::InvalidateNode(*this, node, false);
    if (selection.Count() == 1) {
        ScrollSelectionIntoView();
        if (document.SuspendChildRefresh == 0)
            OpenInPlaceEditor();
    }
    if (point != nullptr && field != 2)
        ForwardClickToEditor(*static_cast<const LogicalPoint*>(point));
    if (binding != nullptr && document.NoteBoxes.Contains(binding)) {
        PendingNoteBinding = nullptr;
        AddUndoAction(new TreeBindNoteAction(this, binding, node));
    }
}

// The press that selected lands in the opened edit too, so that the caret goes where the user clicked.
void TreeWindow::ForwardClickToEditor(LogicalPoint point)
{
    TreePane* pane = Pane();
    if (InPlaceEditor == nullptr || pane == nullptr || (point.x == 0.0f && point.y == 0.0f))
        return;
    pane->PushDrawingScale();
    const Display& display = *pane->CurrentDisplay();
    POINT at{LogicalXToPixel(point.x, display), LogicalYToPixel(point.y, display)};
    pane->PopDrawingScale();
    const RECT client = pane->DrawingToClient(RECT{at.x, at.y, at.x, at.y});
    at = POINT{client.left, client.top};
    MapWindowPoints(pane->Handle(), InPlaceEditor->Handle(), &at, 1);
    PostMouseDown(InPlaceEditor->Handle(), at);
}

void TreeWindow::FollowSelection()
{
    SyncEvaluatorWindow();
    SyncVariablesWindow();
    RefreshFrameCommands();
}

void TreeWindow::SelectNodes(const NodeChildList& nodes, const char* windowName)
{
    if (windowName != nullptr && handle_ != nullptr)
        BringWindowToTop(handle_);
    ClearSelection();
    if (nodes.Count() == 1 && nodes.At(0) != nullptr) {
        SelectNode(nodes.At(0), 1, nullptr, false);
    } else {
        for (int i = 0; i < nodes.Count(); ++i) {
            TreeNode* node = nodes.At(i);
            if (node == nullptr || Selection.Contains(node))
                continue;
            Selection.Add(node);
            ::InvalidateNode(*this, node, false);
        }
        ScrollSelectionIntoView();
        OpenInPlaceEditor();
        FollowSelection();
    }
    if (windowName != nullptr)
        ShowStatusMessage((std::string("Hit Ctrl+F6 to return to the ") + windowName + " window").c_str());
}

void TreeWindow::ClearSelection()
{
    PendingNoteBinding = nullptr;
    CloseInPlaceEdit();
    if (SubtreeSelection != 0)
        UnhighlightSubtree();
    for (int i = 0; i < Selection.Count(); ++i)
        ::InvalidateNode(*this, Selection.At(i), false);
    Selection.RemoveAll();
    if (SelectedNote != nullptr)
        InvalidateLogicalRect(&SelectedNote->frame);
    if (SelectedArrow != nullptr) {
        const LogicalRect bounds = ArrowBounds(*SelectedArrow);
        InvalidateLogicalRect(&bounds);
    }
    SelectedNote = nullptr;
    SelectedArrow = nullptr;
    FollowSelection();
}

void TreeWindow::SelectNoteBox(NoteBox* note, const void* point, bool openText)
{
    if (note == SelectedNote && point == nullptr && (InPlaceEditor != nullptr) == openText)
        return;
    ClearSelection();
    SelectedNote = note;
    EditField = 3;
    InvalidateLogicalRect(&note->frame);
    if (!openText) {
        EditField = 0;
        return;
    }
    OpenInPlaceEditor();
    if (point != nullptr)
        ForwardClickToEditor(*static_cast<const LogicalPoint*>(point));
}

void TreeWindow::HighlightSubtree()
{
    SubtreeSelection = 1;
    if (TreeNode* node = CurrentNode())
        ::InvalidateNode(*this, node, true);
}

void TreeWindow::UnhighlightSubtree()
{
    SubtreeSelection = 0;
    if (TreeNode* node = CurrentNode())
        ::InvalidateNode(*this, node, true);
}

void TreeWindow::ScrollSelectionIntoView()
{
    TreePane* pane = Pane();
    if (pane == nullptr)
        return;
    LogicalRect rect{};
    if (TreeNode* node = CurrentNode()) {
        const NodeGeometry& g = node->Geometry();
        rect = LogicalRect{g.X, g.Y, g.SymbolX + kSymbolSize, g.YBottom};
    } else if (SelectedNote != nullptr) {
        rect = SelectedNote->GetTextRect();
    } else if (SelectedArrow != nullptr) {
        rect = ArrowBounds(*SelectedArrow);
    } else {
        return;
    }
    pane->ScrollIntoView(rect);
}

NoteBox* TreeWindow::NoteBoxAt(LogicalPoint point) const
{
    const NoteBoxList& notes = document.NoteBoxes;
    for (int i = 0; i < notes.Count(); ++i) {
        if (notes.At(i)->HitTest(point.x, point.y) != NoteBoxMissed)
            return notes.At(i);
    }
    return nullptr;
}

TreeArrow* TreeWindow::ArrowAt(LogicalPoint point)
{
    const TreeArrowList& arrows = document.Arrows;
    for (int i = 0; i < arrows.Count(); ++i) {
        if (ArrowHitTest(*this, *arrows.At(i), point))
            return arrows.At(i);
    }
    return nullptr;
}

void TreeWindow::FindNoteBoxesWithText(const char* text, std::vector<NoteBox*>& out) const
{
    const NoteBoxList& notes = document.NoteBoxes;
    for (int i = 0; i < notes.Count(); ++i) {
        if (notes.At(i)->text == text)
            out.push_back(notes.At(i));
    }
}

int TreeWindow::NavigateByKey(int key, bool fromKeyOperation)
{
    const bool control = IsControlHeld();
    const bool navigating = ThePreferences().navigating;
    const bool skipping = navigating && control && fromKeyOperation;
    TreeNode* current = CurrentNode();
    if (SelectedNote != nullptr || current == nullptr)
        return 0;
    if (control && (!fromKeyOperation || !IsArrowKey(key)))
        return 0;
    // Plain arrows then move the caret of the in-place edit.
    if (!navigating && IsArrowKey(key) && !control && fromKeyOperation)
        return 0;
    if (key != kHomeKey && !IsArrowKey(key))
        return 0;
    auto step = [this, key](TreeNode* node) -> TreeNode* {
        switch (key) {
        case kHomeKey:
            return document.Root;
        case kLeftKey:
            return node->parent;
        case kUpKey:
            return FindSameDepthNeighbour(node, -1);
        case kDownKey:
            return FindSameDepthNeighbour(node, 1);
        default:
            break;
        }
        if (node->cloneStatus == CloneCopyNode) {
            node = document.FindCloneMaster(node->cloneId);
            if (node == nullptr || node->IsInCollapsedSubtree())
                return nullptr;
        }
        if (node->collapsed || node->childCount == 0)
            return nullptr;
        return node->GetChild(document.DisplayPrefs.AddAbove ? 0 : node->childCount - 1);
    };
    TreeNode* reached = step(current);
    while (skipping && reached != nullptr && reached->GetBinding(0) == nullptr)
        reached = step(reached);
    if (reached != nullptr)
        SelectNode(reached, 1, nullptr, false);
    return 1;
}

int TreeWindow::OnKey(unsigned virtualKey, bool alt)
{
    ClickMode = 0;
    const int key = static_cast<int>(virtualKey);
    const bool control = IsControlHeld();
    const bool typable = key < 256 && (std::isprint(key) || std::isspace(key) || key == VK_BACK || key == VK_ESCAPE);
    if (!typable || (alt && !IsArrowKey(key)))
        return 0;
    // In an open edit Home and Shift+Home (with or without Ctrl) move its caret and select, as in any edit
    // field; only Ctrl+Home leaves it for the root. Without an edit Home goes there while navigating.
    const bool toRoot = InPlaceEditor != nullptr ? control && GetKeyState(VK_SHIFT) >= 0
                                                 : ThePreferences().navigating || control;
    if (key == kHomeKey && toRoot) {
        ClearSelection();
        SelectNode(document.Root, 1, nullptr, false);
        return 1;
    }
    if (key == VK_ESCAPE && InPlaceEditor != nullptr) {
        CancelInPlaceEdit();
        return 1;
    }
    TreeNode* current = CurrentNode();
    // An open edit takes the key itself (the key-down comes before it sees the key).
    if (SelectedNote != nullptr)
        return InPlaceEditor != nullptr ? 0 : 1;
    if (current == nullptr || SelectedArrow != nullptr)
        return 1;
    if (IsArrowKey(key) && NavigateByKey(key, true) != 0)
        return 1;
    if (key == VK_TAB || (key == VK_RETURN && EditField == 2)) {
        CloseInPlaceEdit();
        if (current->parent != nullptr && current->parent->HasBranchProbabilities()) {
            EditField = EditField == 1 ? 2 : 1;
            // A field reached with Tab has its text selected, so that typing replaces it.
            if (key == VK_TAB)
                OpenInPlaceEditor(0, -1);
            else
                OpenInPlaceEditor();
        } else {
            ShowInfoBox(nullptr, "You may only assign a probability to a branch emanating from a chance node.", -1);
            // The node is drawn again with its text open, so that typing and the arrows go on there.
            ::InvalidateNode(*this, current, false);
            OpenInPlaceEditor();
        }
        return 1;
    }
    const bool moves = IsArrowKey(key) || key == VK_END || key == kHomeKey || key == VK_SNAPSHOT || key == VK_ESCAPE;
    if (!control && !alt && !moves)
        SetModified(1);
    return 0;
}
