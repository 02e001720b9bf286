// The Edit menu of a tree window: cut, copy, paste and clear of nodes, subtrees, texts, note boxes and arrows
// through the tree clipboard, the titles those items take from what they would act on, and the clone commands
// (TreeCloneCommands.cpp).

#include "treewin/TreeWindow.h"

#include "widgets/EditMenuTexts.h"
#include "widgets/InPlaceEdit.h"
#include "dialogs/EditScopeDialog.h"
#include "model/TreeNode.h"
#include "treewin/NoteBoxClipboard.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeCloneCommands.h"
#include "treewin/TreeCommandHandlers.h"
#include "treewin/TreeLinkCommands.h"
#include "treewin/TreeNoteActions.h"

#include "CommandIds.h"

#include <string>

namespace {

unsigned Bit(int scope)
{
    return 1u << scope;
}

int SingleScope(unsigned mask)
{
    for (int scope = TreeWindow::ScopeNode; scope <= TreeWindow::ScopeArrow; ++scope)
        if (mask == Bit(scope))
            return scope;
    return 0;
}

bool AnyTerminalOrCopy(const NodeChildList& nodes)
{
    for (int i = 0; i < nodes.Count(); ++i)
        if (nodes.At(i)->IsTerminal() || nodes.At(i)->cloneStatus == CloneCopyNode)
            return true;
    return false;
}

} // namespace

using Handlers = TreeWindow::CommandHandlers;

TreeWindow::EditMasks TreeWindow::ComputeEditMasks() const
{
    EditMasks masks;
    // The tree is hidden behind the custom interface: nothing of it is cut, copied, cleared or pasted.
    if (CustomInterfaceShown)
        return masks;
    TreeNode* node = CurrentNode();
    const bool subtreeFlag = SubtreeSelection != 0;
    // The root alone cannot be cut or cleared as a node.
    const bool mayCutNodes = document.ChildWindowCount <= 0 && document.SuspendChildRefresh <= 0 && node != nullptr &&
                             (node->parent != nullptr || subtreeFlag);
    if (InPlaceEditor != nullptr) {
        const EditCtrl::Selection selected = InPlaceEditor->GetSelection();
        if (selected.high > selected.low)
            masks.copy |= Bit(ScopeText);
    }
    if (SelectedNote != nullptr && InPlaceEditor == nullptr)
        masks.copy |= Bit(ScopeNote);
    if (SelectedArrow != nullptr)
        masks.copy |= Bit(ScopeArrow);
    if (!mayCutNodes)
        masks.cut = masks.clear = masks.copy;
    // A node with children is copied only through the subtree selection.
    if (node != nullptr) {
        if (subtreeFlag)
            masks.copy |= Bit(ScopeSubtree);
        else if (node->childCount == 0 || node->cloneStatus == CloneCopyNode)
            masks.copy |= Bit(ScopeNode);
    }
    if (mayCutNodes)
        masks.cut = masks.clear = masks.copy;
    if (InPlaceEditor != nullptr && IsClipboardFormatAvailable(CF_TEXT))
        masks.paste |= Bit(ScopeText);
    const TreeNode* stored = TheTreeClipboard().Get(-1);
    if (node != nullptr && stored != nullptr && document.SuspendChildRefresh <= 0 &&
        !AnyTerminalOrCopy(Selection))
        masks.paste |= stored->kind == 0 ? Bit(ScopeSubtree) : Bit(ScopeNode);
    if (node == nullptr && SelectedNote == nullptr && SelectedArrow == nullptr) {
        if (IsNoteBoxOnClipboard())
            masks.paste |= Bit(ScopeNote);
        if (TheTreeClipboard().Arrow() != nullptr)
            masks.paste |= Bit(ScopeArrow);
    }
    return masks;
}

void TreeWindow::UpdateEditMenuTexts(HMENU menu, bool popup) const
{
    static const char* const words[] = {"", "Node", "Subtree", "Text", "Note", "Arrow"};
    const EditMasks masks = ComputeEditMasks();
    const struct {
        unsigned id;
        unsigned mask;
    } items[] = {{Cmd::EditCut, masks.cut}, {Cmd::EditCopy, masks.copy}, {Cmd::EditClear, masks.clear},
                 {Cmd::EditPaste, masks.paste}};
    for (const auto& item : items) {
        EnableMenuItem(menu, item.id, MF_BYCOMMAND | (item.mask != 0 ? MF_ENABLED : MF_GRAYED));
        if (item.mask == 0 || (popup && item.id == Cmd::EditPaste))
            continue;
        const int scope = SingleScope(item.mask);
        const std::string text = EditItemText(item.id, scope != 0 ? words[scope] : nullptr, popup);
        ModifyMenuA(menu, item.id, MF_BYCOMMAND | MF_STRING, item.id, text.c_str());
    }
    if (popup) {
        EnableMenuItem(menu, Cmd::NodePasteText,
                       MF_BYCOMMAND | ((masks.paste & Bit(ScopeText)) ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(menu, Cmd::NodePasteNode, MF_BYCOMMAND |
                                       ((masks.paste & (Bit(ScopeNode) | Bit(ScopeSubtree))) ? MF_ENABLED : MF_GRAYED));
    }
}

void Handlers::PasteText(TreeWindow& tree)
{
    if ((tree.ComputeEditMasks().paste & Bit(ScopeText)) != 0)
        tree.EditInPlaceText(Cmd::EditPaste);
}

void Handlers::PasteNode(TreeWindow& tree)
{
    if ((tree.ComputeEditMasks().paste & (Bit(ScopeNode) | Bit(ScopeSubtree))) != 0)
        PasteBranches(tree);
}

void Handlers::Cut(TreeWindow& tree) { EditWithScope(tree, Cmd::EditCut); }
void Handlers::Copy(TreeWindow& tree) { EditWithScope(tree, Cmd::EditCopy); }
void Handlers::Paste(TreeWindow& tree) { EditWithScope(tree, Cmd::EditPaste); }
void Handlers::Clear(TreeWindow& tree) { EditWithScope(tree, Cmd::EditClear); }

void Handlers::CreateClone(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        TreeClones::CreateOrDestroyClone(tree, tree.CurrentNode());
}

void Handlers::AttachClone(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        TreeClones::AttachOrDetachClone(tree, tree.CurrentNode());
}

void Handlers::SelectClipboardSlot(int slot) { TheTreeClipboard().SelectSlot(slot); }
void Handlers::Links(TreeWindow& tree) { TreeLinks::ShowLinks(tree); }
void Handlers::CopySpecial(TreeWindow& tree) { TreeLinks::CopySpecial(tree); }
void Handlers::PasteLink(TreeWindow& tree) { TreeLinks::PasteLinkIntoEditor(tree); }
void Handlers::BreakLink(TreeWindow& tree) { TreeLinks::BreakLink(tree); }
void Handlers::Clones(TreeWindow& tree) { TreeLinks::ShowClones(tree); }

void Handlers::EditWithScope(TreeWindow& tree, int command)
{
    const EditMasks masks = tree.ComputeEditMasks();
    const unsigned mask = command == Cmd::EditCut     ? masks.cut
                          : command == Cmd::EditCopy  ? masks.copy
                          : command == Cmd::EditPaste ? masks.paste
                                                      : masks.clear;
    if (mask == 0)
        return;
    int scope = SingleScope(mask);
    if (scope == 0) {
        EditScopeDialog dialog(static_cast<unsigned>(command), mask);
        scope = dialog.Run();
    }
    TreeNode* node = tree.CurrentNode();
    const bool cut = command == Cmd::EditCut;
    switch (scope) {
    case ScopeNode:
    case ScopeSubtree:
        if (command == Cmd::EditCopy) {
            TheTreeClipboard().Store(node, -1);
        } else if (command == Cmd::EditPaste) {
            PasteBranches(tree);
        } else if (TreeClones::ConfirmCloneMasterLoss(tree, node)) {
            if (scope == ScopeNode)
                tree.AddUndoAction(new TreeCutNodeAction(&tree, node, cut));
            else
                tree.AddUndoAction(new TreeCutSubtreeAction(&tree, node, cut));
        }
        return;
    case ScopeText:
        tree.EditInPlaceText(command);
        return;
    case ScopeNote:
        if (command == Cmd::EditCopy)
            PutNoteBoxOnClipboard(*tree.SelectedNote);
        else if (command == Cmd::EditPaste)
            tree.AddUndoAction(new TreePasteNoteAction(&tree));
        else
            tree.AddUndoAction(new TreeCutNoteAction(&tree, cut));
        return;
    case ScopeArrow:
        if (command == Cmd::EditCopy)
            TheTreeClipboard().SetArrow(tree.SelectedArrow);
        else if (command == Cmd::EditPaste)
            tree.AddUndoAction(new TreePasteArrowAction(&tree));
        else if (cut)
            tree.AddUndoAction(new TreeCutArrowAction(&tree));
        else
            tree.AddUndoAction(new TreeClearArrowAction(&tree));
        return;
    default:
        return;
    }
}
