// The tree window's clone commands: Create Clone names a new clone master (or destroys the selected one),
// Attach Clone makes the selected nodes copies of a chosen master (or detaches a copy), and a cut or clear
// that takes masters with it asks first.

#include "treewin/TreeCloneCommands.h"

#include "treewin/TreeWindow.h"

#include "widgets/PromptDialog.h"
#include "treewin/AttachCloneDialog.h"
#include "foundation/MessageBoxes.h"
#include "model/CloneCopies.h"
#include "model/NodeRef.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeCloneActions.h"

#include <cstdint>
#include <string>
#include <vector>

void TreeWindow::ConfirmDestroyClone(TreeNode* master)
{
    if (AskOkCancel("Destroy Clone", "Destroying this clone will detach it from all copies as well.", 30000, 2) == 1)
        AddUndoAction(new TreeCloneMasterAction(this, master));
}

namespace TreeClones {

int ConfirmCloneMasterLoss(TreeWindow& tree, TreeNode* node)
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
        tree.Document().RemoveCloneMaster(id, true);
    tree.ClearUndoHistory();
    return 1;
}

void CreateOrDestroyClone(TreeWindow& tree, TreeNode* node)
{
    if (node->cloneStatus == CloneMasterNode) {
        tree.ConfirmDestroyClone(node);
        return;
    }
    const std::string prompt =
        std::string("Enter a name for your clone master at ") + NodeMention(*node).Text() + ".";
    zString name;
    if (PromptForText(name, IsNewCloneName, static_cast<int32_t>(reinterpret_cast<intptr_t>(&tree)), "Create Clone",
                      prompt.c_str(), 30001, false) == 1)
        tree.AddUndoAction(new TreeCloneMasterAction(&tree, node, name.Text()));
}

void AttachOrDetachClone(TreeWindow& tree, TreeNode* node)
{
    if (node->cloneStatus == CloneCopyNode) {
        const int answer = AskYesNoCancel(
            nullptr, "Do you want to keep an editable copy of the cloned subtree at the selected node?", 0);
        if (answer != 2)
            tree.AddUndoAction(new TreeAttachCloneAction(&tree, node, answer == 1));
        return;
    }
    TreeNode* master = ChooseCloneMaster(tree);
    if (master == nullptr)
        return;
    if (!CanAttachClone(tree.Selection, master)) {
        ShowErrorBox(nullptr,
                     "Attaching a clone to its own master subtree indicates a recursion which KIVO does not support.",
                     0);
        return;
    }
    tree.AddUndoAction(new TreeAttachCloneAction(&tree, tree.Selection, master));
}

int CanAttachClone(const NodeChildList& targets, const TreeNode* master)
{
    for (int i = 0; i < targets.Count(); ++i)
        if (CopyWouldContainItself(targets.At(i), master))
            return 0;
    return 1;
}

int IsNewCloneName(const zString& name, int32_t window)
{
    auto* tree = reinterpret_cast<TreeWindow*>(static_cast<intptr_t>(window));
    if (!tree->Document().IsCloneNameUsed(name.Text()))
        return 1;
    ShowErrorBox(nullptr, "That clone name has already been used in this document.", 0);
    return 0;
}

TreeNode* ChooseCloneMaster(const TreeWindow& tree)
{
    const NodeRefList& masters = tree.Document().CloneMasters;
    if (masters.Count() <= 1)
        return masters.Count() == 1 ? masters.At(0)->node : nullptr;
    NameList names;
    for (int i = 0; i < masters.Count(); ++i)
        names.AddCopy(masters.At(i)->name);
    AttachCloneDialog dialog(names);
    const int choice = dialog.Run();
    return choice >= 0 ? masters.At(choice)->node : nullptr;
}

} // namespace TreeClones
