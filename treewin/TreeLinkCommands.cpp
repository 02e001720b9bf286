// The tree window's link commands: Copy Special (the picture, or a link to a node's value for another
// program), Paste Link into an open probability, the node's links and the document's links, and the Clones
// dialog.

#include "treewin/TreeLinkCommands.h"

#include "treewin/TreeWindow.h"

#include "analysis/NodeLinks.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/Shell.h"
#include "treewin/ClonesDialog.h"
#include "treewin/CopySpecialDialog.h"
#include "treewin/NodeLinksDialog.h"
#include "treewin/ResultBoxes.h"
#include "framework/window/Clipboard.h"
#include "model/TreeNode.h"
#include "widgets/DdeLinkManager.h"
#include "widgets/DocumentLinks.h"
#include "widgets/LinksDialog.h"

#include "CommandIds.h"

bool TreeWindow::PasteLink(zString& formula)
{
    DdeLinkManager* links = TheShell().Links();
    return links != nullptr && PasteLinkFromClipboard(*links, document.DocumentLinks, *this, formula, 0) != 0;
}

namespace TreeLinks {

bool CanCopySpecial(const TreeWindow& tree)
{
    const TreeDocument& document = tree.Document();
    const TreeNode* node = tree.CurrentNode();
    const bool oneNode = tree.Selection.Count() == 1 && !tree.CustomInterfaceShown &&
                         (tree.SubtreeSelection != 0 || node->childCount == 0 || !tree.FilePath().IsEmpty());
    return oneNode || (document.IsRolledBack() && document.DisplayPrefs.ShowColumns != 0);
}

bool CanPasteLinkHere(const TreeWindow& tree)
{
    return tree.InPlaceEditor != nullptr && tree.EditField == 2 && TheShell().CanPasteLink();
}

bool CanBreakLink(const TreeWindow& tree)
{
    const TreeNode* node = tree.CurrentNode();
    return node != nullptr && !tree.CustomInterfaceShown &&
           node->GetLinkId0() + node->GetLinkId1() + node->GetLinkId2() > 0;
}

void CopySpecial(TreeWindow& tree)
{
    if (!CanCopySpecial(tree))
        return;
    TreeNode* node = tree.CurrentNode();
    CopySpecialDialog dialog(node, tree);
    const int command = dialog.Run();
    if (command == 0)
        return;
    if (command == Cmd::EditCopySpecial) {
        tree.CopyPicture();
        return;
    }
    if (command == CopySpecialDialog::ColumnsTable) {
        zString table;
        ResultBoxes::WriteTableText(tree, table);
        Clipboard clipboard(&tree);
        clipboard.Empty();
        clipboard.PutText(table.Text());
        return;
    }
    const int id = tree.Document().LinkIdFor(node, CopySpecialDialog::LinkSlotOf(command));
    zString item, value;
    TreeWindow::DdeItemName(id, item);
    // A value that cannot be computed puts nothing on the clipboard.
    DdeLinkManager* links = TheShell().Links();
    if (id != 0 && links != nullptr && LinkItemText(node, id, value))
        links->CopyLinkToClipboard(tree.FilePath().Text(), item.Text(), value.Text());
}

void PasteLinkIntoEditor(TreeWindow& tree)
{
    if (!CanPasteLinkHere(tree))
        return;
    zString formula;
    if (!tree.PasteLink(formula) || tree.InPlaceEditor == nullptr)
        return;
    tree.InPlaceEditor->ReplaceSelection(formula.Text());
    tree.SetModified(1);
}

void BreakLink(TreeWindow& tree)
{
    if (!CanBreakLink(tree))
        return;
    NodeLinksDialog dialog(*tree.CurrentNode(), tree.Document());
    dialog.Run();
}

void ShowLinks(TreeWindow& tree)
{
    if (tree.CustomInterfaceShown)
        return;
    TreeDocument& document = tree.Document();
    LinksDialog dialog(document.DocumentLinks, &tree, &document);
    if (dialog.Run())
        tree.SetModified(1);
}

void ShowClones(TreeWindow& tree)
{
    TreeDocument& document = tree.Document();
    if (document.CloneMasters.Count() == 0)
        return;
    ClonesDialog dialog(tree, document.CloneMasters);
    dialog.Run();
}

} // namespace TreeLinks
