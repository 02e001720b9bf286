#include "dialogs/NodeLinksDialog.h"

#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

namespace {

// The link block's slot of each row.
const int kSlots[] = {NodeLinkBlock::ExpectedValueLink, NodeLinkBlock::StandardDeviationLink,
                      NodeLinkBlock::PathProbabilityLink};

} // namespace

NodeLinksDialog::NodeLinksDialog(TreeNode& node, TreeDocument& document) : node_(node), document_(document) {}

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
