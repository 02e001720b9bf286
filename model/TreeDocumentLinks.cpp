// Link items of the document: the ids by which a node's values are published to other programs.

#include "model/TreeDocument.h"

#include "model/TreeDocumentView.h"
#include "model/TreeNode.h"

int TreeDocument::LinkIdFor(TreeNode* node, int slot)
{
    if (slot < NodeLinkBlock::PathProbabilityLink || slot > NodeLinkBlock::ExpectedValueLink)
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
