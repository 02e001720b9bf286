#include "treewin/NodeLinksDialog.h"

#include "widgets/ProgramDialog.h"

#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace {

// The link block's slot of each row.
const int kSlots[] = {NodeLinkBlock::ExpectedValueLink, NodeLinkBlock::StandardDeviationLink,
                      NodeLinkBlock::PathProbabilityLink};

// Each row's item name, and its button while it has a link; a break empties the row and focuses OK.
void ShowOnScreen(NodeLinksDialog& links)
{
    ProgramDialog dialog(DialogRes::NodeLinks);
    for (int row = 0; row < 3; ++row) {
        const int text = static_cast<int>(Ctl::NodeLinks::ExpectedValueText) + row;
        const unsigned button = Ctl::NodeLinks::BreakLink + static_cast<unsigned>(row);
        dialog.SetItemText(text, links.ItemName(row).Text());
        dialog.EnableItem(button, links.LinkId(row) != 0);
        dialog.OnButton(button, [&dialog, &links, row, text, button] {
            links.Break(row);
            dialog.EnableItem(button, false);
            dialog.SetItemText(text, "");
            SetFocus(dialog.Control(IDOK));
        });
    }
    dialog.Run();
}

} // namespace

NodeLinksDialog::NodeLinksDialog(TreeNode& node, TreeDocument& document) : node_(node), document_(document) {}

void NodeLinksDialog::Run()
{
    if (HasPresenter())
        Present();
    else
        ShowOnScreen(*this);
}

int NodeLinksDialog::LinkId(int row) const
{
    if (row < 0 || row > 2 || node_.linkBlock == nullptr)
        return 0;
    return node_.linkBlock->linkIds[kSlots[row]];
}

zString NodeLinksDialog::ItemName(int row) const
{
    zString name;
    if (const int id = LinkId(row))
        TreeWindow::DdeItemName(id, name);
    return name;
}

void NodeLinksDialog::Break(int row)
{
    const int id = LinkId(row);
    if (id != 0)
        document_.ReleaseLinkEntry(id, &node_);
}
