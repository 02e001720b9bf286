// The Edit menu of a tree window: cut, copy, paste and clear of nodes, subtrees, texts, note boxes and arrows
// through the tree clipboard, the titles those items take from what they would act on, and the clone commands.

#include "treewin/TreeWindow.h"

#include "app/EditMenuTexts.h"
#include "app/InPlaceEdit.h"
#include "app/PromptDialog.h"
#include "dialogs/AttachCloneDialog.h"
#include "dialogs/EditScopeDialog.h"
#include "foundation/MessageBoxes.h"
#include "model/CloneCopies.h"
#include "model/NodeRef.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/NoteBoxClipboard.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeCloneActions.h"
#include "treewin/TreeCommandHandlers.h"
#include "treewin/TreeLinkCommands.h"
#include "treewin/TreeNoteActions.h"

#include "CommandIds.h"

#include <string>
#include <vector>

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
        tree.PasteBranches();
}

void Handlers::Cut(TreeWindow& tree) { tree.EditWithScope(Cmd::EditCut); }
void Handlers::Copy(TreeWindow& tree) { tree.EditWithScope(Cmd::EditCopy); }
void Handlers::Paste(TreeWindow& tree) { tree.EditWithScope(Cmd::EditPaste); }
void Handlers::Clear(TreeWindow& tree) { tree.EditWithScope(Cmd::EditClear); }

void Handlers::CreateClone(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        tree.CreateOrDestroyClone(tree.CurrentNode());
}

void Handlers::AttachClone(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        tree.AttachOrDetachClone(tree.CurrentNode());
}

void Handlers::SelectClipboardSlot(int slot) { TheTreeClipboard().SelectSlot(slot); }
void Handlers::Links(TreeWindow& tree) { TreeLinks::ShowLinks(tree); }
void Handlers::CopySpecial(TreeWindow& tree) { TreeLinks::CopySpecial(tree); }
void Handlers::PasteLink(TreeWindow& tree) { TreeLinks::PasteLinkIntoEditor(tree); }
void Handlers::BreakLink(TreeWindow& tree) { TreeLinks::BreakLink(tree); }
void Handlers::Clones(TreeWindow& tree) { TreeLinks::ShowClones(tree); }

void TreeWindow::EditWithScope(int command)
{
    const EditMasks masks = ComputeEditMasks();
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
    TreeNode* node = CurrentNode();
    const bool cut = command == Cmd::EditCut;
    switch (scope) {
    case ScopeNode:
    case ScopeSubtree:
        if (command == Cmd::EditCopy) {
            TheTreeClipboard().Store(node, -1);
        } else if (command == Cmd::EditPaste) {
            PasteBranches();
        } else if (ConfirmCloneMasterLoss(node)) {
            if (scope == ScopeNode)
                AddUndoAction(new TreeCutNodeAction(this, node, cut));
            else
                AddUndoAction(new TreeCutSubtreeAction(this, node, cut));
        }
        return;
    case ScopeText:
        EditInPlaceText(command);
        return;
    case ScopeNote:
        if (command == Cmd::EditCopy)
            PutNoteBoxOnClipboard(*SelectedNote);
        else if (command == Cmd::EditPaste)
            AddUndoAction(new TreePasteNoteAction(this));
        else
            AddUndoAction(new TreeCutNoteAction(this, cut));
        return;
    case ScopeArrow:
        if (command == Cmd::EditCopy)
            TheTreeClipboard().SetArrow(SelectedArrow);
        else if (command == Cmd::EditPaste)
            AddUndoAction(new TreePasteArrowAction(this));
        else if (cut)
            AddUndoAction(new TreeCutArrowAction(this));
        else
            AddUndoAction(new TreeClearArrowAction(this));
        return;
    default:
        return;
    }
}

int TreeWindow::ConfirmCloneMasterLoss(TreeNode* node)
{
    if (!node->ContainsCloneMaster())
        return 1;
    if (AskOkCancel(nullptr,
                    "This cut or clear operation will destroy one or more clone masters. This part of the operation is "
                    "NOT undo-able.",
                    0, 2) != 1)
        return 0;
    std::vector<int> ids;
    WalkTreeWithSkip(node, [](TreeNode* each, void* list) {
        if (each->cloneStatus == CloneMasterNode)
            static_cast<std::vector<int>*>(list)->push_back(each->cloneId);
    }, &ids, false);
    for (int id : ids)
        document.RemoveCloneMaster(id, true);
    ClearUndoHistory();
    return 1;
}

void TreeWindow::CreateOrDestroyClone(TreeNode* node)
{
    if (node->cloneStatus == CloneMasterNode) {
        ConfirmDestroyClone(node);
        return;
    }
    const std::string prompt =
        std::string("Enter a name for your clone master at ") + NodeMention(*node).Text() + ".";
    zString name;
    if (PromptForText(name, IsNewCloneName, static_cast<int32_t>(reinterpret_cast<intptr_t>(this)), "Create Clone",
                      prompt.c_str(), 30001, false) == 1)
        AddUndoAction(new TreeCloneMasterAction(this, node, name.Text()));
}

void TreeWindow::ConfirmDestroyClone(TreeNode* master)
{
    if (AskOkCancel("Destroy Clone", "Destroying this clone will detach it from all copies as well.", 30000, 2) == 1)
        AddUndoAction(new TreeCloneMasterAction(this, master));
}

void TreeWindow::AttachOrDetachClone(TreeNode* node)
{
    if (node->cloneStatus == CloneCopyNode) {
        const int answer = AskYesNoCancel(
            nullptr, "Do you want to keep an editable copy of the cloned subtree at the selected node?", 0);
        if (answer != 2)
            AddUndoAction(new TreeAttachCloneAction(this, node, answer == 1));
        return;
    }
    TreeNode* master = ChooseCloneMaster();
    if (master == nullptr)
        return;
    if (!CanAttachClone(Selection, master)) {
        ShowErrorBox(nullptr,
                     "Attaching a clone to its own master subtree indicates a recursion which KIVO does not support.",
                     0);
        return;
    }
    AddUndoAction(new TreeAttachCloneAction(this, Selection, master));
}

int TreeWindow::CanAttachClone(const NodeChildList& targets, const TreeNode* master)
{
    for (int i = 0; i < targets.Count(); ++i)
        if (CopyWouldContainItself(targets.At(i), master))
            return 0;
    return 1;
}

int TreeWindow::IsNewCloneName(const zString& name, int32_t window)
{
    auto* tree = reinterpret_cast<TreeWindow*>(static_cast<intptr_t>(window));
    if (!tree->Document().IsCloneNameUsed(name.Text()))
        return 1;
    ShowErrorBox(nullptr, "That clone name has already been used in this document.", 0);
    return 0;
}

TreeNode* TreeWindow::ChooseCloneMaster()
{
    const NodeRefList& masters = document.CloneMasters;
    if (masters.Count() <= 1)
        return masters.Count() == 1 ? masters.At(0)->node : nullptr;
    NameList names;
    for (int i = 0; i < masters.Count(); ++i)
        names.AddCopy(masters.At(i)->name);
    AttachCloneDialog dialog(names);
    const int choice = dialog.Run();
    return choice >= 0 ? masters.At(choice)->node : nullptr;
}
