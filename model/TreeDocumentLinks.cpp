// Link items of the document: the ids by which a node's values are published to other programs.

#include "model/TreeDocument.h"

#include "model/TreeDocumentView.h"
#include "model/TreeNode.h"

namespace {

// The link-block slot of a command's value: 0 path probability, 1 standard deviation, 2 expected value.
int LinkSlotOf(int command)
{
    switch (command) {
    case 1605:
        return NodeLinkBlock::ExpectedValueLink;
    case 1606:
        return NodeLinkBlock::PathProbabilityLink;
    case 1609:
        return NodeLinkBlock::StandardDeviationLink;
    default:
        return -1;
    }
}

}  // namespace

int TreeDocument::LinkIdFor(TreeNode* node, int command)
{
    const int slot = LinkSlotOf(command);
    if (slot < 0)
        return 0;
    NodeLinkBlock* block = node->EnsureLinkBlock();
    if (block->linkIds[slot] == 0) {
        DocumentLink* item = LinkItems.AddNew();
        if (item == nullptr)
            return 0;
        block->linkIds[slot] = static_cast<uint16_t>(item->index);
        SetModified(1);
    }
    return block->linkIds[slot];
}

void TreeDocument::PublishLinkValue(int id, const char* text)
{
    DocumentLink* item = FindLinkEntry(id);
    if (item == nullptr)
        return;
    item->SetValue(text);
    if (View != nullptr)
        View->LinkValueChanged(id, item->value.Text());
}

void TreeDocument::LinkValueArrived(DocumentLink&)
{
    if (View != nullptr)
        View->LinkedValueArrived();
}

void TreeDocument::ReleaseLinkEntry(int id, TreeNode* node)
{
    if (node != nullptr)
        node->ClearLinkId(id);
    if (LinkItems.DeleteId(id))
        SetModified(1);
}
