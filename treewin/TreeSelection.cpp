// The tree window's selection, its key operation and its undo history.

#include "treewin/TreeWindow.h"

#include "foundation/AppFlags.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/WindowEvent.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "treewin/TreeViewWindow.h"

#include <cctype>

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

// A child shown below the node on the way down to a same-depth neighbour.
bool CanDescend(const TreeNode* node)
{
    return node->cloneStatus != CloneCopyNode && node->childCount > 0 && node->ChildrenShown();
}

// The nearest node above (direction -1) or below (+1) at the node's depth: climb k levels, step to the
// ancestor's sibling, and descend k levels along the last (above) or first (below) children.
TreeNode* FindSameDepthNeighbour(TreeNode* node, int direction)
{
    const int depth = node->Depth();
    for (int k = 0; k < depth; ++k) {
        TreeNode* ancestor = node;
        for (int i = 0; i < k; ++i)
            ancestor = ancestor->parent;
        TreeNode* reached = direction < 0 ? ancestor->PrevSibling() : ancestor->NextSibling();
        for (int i = 0; reached != nullptr && i < k; ++i) {
            if (!CanDescend(reached))
                reached = nullptr;
            else
                reached = reached->GetChild(direction < 0 ? reached->childCount - 1 : 0);
        }
        if (reached != nullptr)
            return reached;
    }
    return nullptr;
}

} // namespace

TreeNode* TreeWindow::CurrentNode() const
{
    return document.Selection.Count() > 0 ? document.Selection.At(0) : nullptr;
}

TreeNode* TreeWindow::ResolveSelectableNode(TreeNode* node)
{
    if (node->IsInCloneCopy())
        node = node->CloneCopyRoot();
    if (node->IsInCollapsedSubtree())
        node = node->TopCollapsedAncestor();
    return node;
}

void TreeWindow::SelectNode(TreeNode* node, int field, const void*, bool extend)
{
    NodeChildList& selection = document.Selection;
    if (!extend && selection.Count() == 1 && selection.At(0) == node && EditField == field)
        return;
    node = ResolveSelectableNode(node);
    if (!extend || SelectedNote != nullptr) {
        ClearSelection();
    } else if (selection.Contains(node)) {
        selection.RemovePtr(node);
        return;
    }
    selection.Add(node);
    EditField = field;
}

void TreeWindow::ClearSelection()
{
    document.ClearSelection();
    SelectedNote = nullptr;
    SelectedArrow = nullptr;
}

void TreeWindow::SelectNoteBox(NoteBox* note, const void* point, bool openText)
{
    if (note == SelectedNote && point == nullptr && (EditField == 3) == openText)
        return;
    ClearSelection();
    SelectedNote = note;
    EditField = openText ? 3 : 0;
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
    const bool skipping = AppFlags::navigating && control && fromKeyOperation;
    TreeNode* current = CurrentNode();
    if (SelectedNote != nullptr || current == nullptr)
        return 0;
    if (control && (!fromKeyOperation || !IsArrowKey(key)))
        return 0;
    // Plain arrows then move the caret of the in-place edit.
    if (!AppFlags::navigating && IsArrowKey(key) && !control && fromKeyOperation)
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
            node = FindCloneMaster(node->cloneId);
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

int TreeWindow::OnKey(const WindowEvent& event)
{
    ClickMode = 0;
    const int key = static_cast<int>(event.wParam);
    const bool alt = (HIWORD(event.lParam) & KF_ALTDOWN) != 0;
    const bool control = IsControlHeld();
    const bool typable = key < 256 && (std::isprint(key) || std::isspace(key) || key == VK_BACK || key == VK_ESCAPE);
    if (!typable || (alt && !IsArrowKey(key)))
        return 0;
    if (key == kHomeKey && (AppFlags::navigating || control)) {
        ClearSelection();
        SelectNode(document.Root, 1, nullptr, false);
        return 1;
    }
    TreeNode* current = CurrentNode();
    if (SelectedNote != nullptr || current == nullptr)
        return 1;
    if (IsArrowKey(key) && NavigateByKey(key, true) != 0)
        return 1;
    if (key == VK_TAB || (key == VK_RETURN && EditField == 2)) {
        if (current->parent != nullptr && current->parent->HasBranchProbabilities())
            EditField = EditField == 1 ? 2 : 1;
        else
            ShowInfoBox(nullptr, "You may only assign a probability to a branch emanating from a chance node.", -1);
        return 1;
    }
    const bool moves = IsArrowKey(key) || key == VK_END || key == kHomeKey || key == VK_SNAPSHOT || key == VK_ESCAPE;
    if (!control && !alt && !moves)
        SetModified(1);
    return 0;
}

void TreeWindow::AddUndoAction(UndoAction* action)
{
    Show().AddUndoAction(action);
    if (action != nullptr)
        SetModified(1);
}

void TreeWindow::Undo()
{
    Show().Undo();
}

void TreeWindow::Redo()
{
    Show().Redo();
}

UndoAction* TreeWindow::CurrentUndoAction()
{
    return Show().CurrentUndoAction();
}

const UndoHistory& TreeWindow::History()
{
    return Show().History();
}
