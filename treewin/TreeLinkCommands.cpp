// The tree window's link commands: Copy Special (the picture, or a link to a node's value for another
// program), Paste Link into an open probability, the node's links and the document's links, and the Clones
// dialog.

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

bool TreeWindow::CanCopySpecial() const
{
    const TreeNode* node = CurrentNode();
    const bool oneNode = Selection.Count() == 1 && !CustomInterfaceShown &&
                         (SubtreeSelection != 0 || node->childCount == 0 || !FilePath().IsEmpty());
    return oneNode || (document.IsRolledBack() && document.DisplayPrefs.ShowColumns != 0);
}

bool TreeWindow::CanPasteLinkHere() const
{
    return InPlaceEditor != nullptr && EditField == 2 && TheShell().CanPasteLink();
}

bool TreeWindow::CanBreakLink() const
{
    const TreeNode* node = CurrentNode();
    return node != nullptr && !CustomInterfaceShown &&
           node->GetLinkId0() + node->GetLinkId1() + node->GetLinkId2() > 0;
}

void TreeWindow::CopySpecial()
{
    if (!CanCopySpecial())
        return;
    TreeNode* node = CurrentNode();
    CopySpecialDialog dialog(node, *this);
    const int command = dialog.Run();
    if (command == 0)
        return;
    if (command == Cmd::EditCopySpecial) {
        CopyPicture();
        return;
    }
    if (command == CopySpecialDialog::ColumnsTable) {
        zString table;
        ResultBoxes::WriteTableText(*this, table);
        Clipboard clipboard(this);
        clipboard.Empty();
        clipboard.PutText(table.Text());
        return;
    }
    const int id = document.LinkIdFor(node, CopySpecialDialog::LinkSlotOf(command));
    zString item, value;
    DdeItemName(id, item);
    // A value that cannot be computed puts nothing on the clipboard.
    DdeLinkManager* links = TheShell().Links();
    if (id != 0 && links != nullptr && LinkItemText(node, id, value))
        links->CopyLinkToClipboard(FilePath().Text(), item.Text(), value.Text());
}

bool TreeWindow::PasteLink(zString& formula)
{
    DdeLinkManager* links = TheShell().Links();
    return links != nullptr && PasteLinkFromClipboard(*links, document.DocumentLinks, *this, formula, 0) != 0;
}

void TreeWindow::PasteLinkIntoEditor()
{
    if (!CanPasteLinkHere())
        return;
    zString formula;
    if (!PasteLink(formula) || InPlaceEditor == nullptr)
        return;
    InPlaceEditor->ReplaceSelection(formula.Text());
    SetModified(1);
}

void TreeWindow::BreakLink()
{
    if (!CanBreakLink())
        return;
    NodeLinksDialog dialog(*CurrentNode(), document);
    dialog.Run();
}

void TreeWindow::ShowLinks()
{
    if (CustomInterfaceShown)
        return;
    LinksDialog dialog(document.DocumentLinks, this, &document);
    if (dialog.Run())
        SetModified(1);
}

void TreeWindow::ShowClones()
{
    if (document.CloneMasters.Count() == 0)
        return;
    ClonesDialog dialog(*this, document.CloneMasters);
    dialog.Run();
}
