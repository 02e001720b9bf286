// The node records of a whole subtree, read and written in pre-order on an explicit stack, so that the
// depth of a tree (or of a damaged file) costs no call stack.

#include "foundation/Archive.h"
#include "foundation/zString.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"
#include "model/NodeProgress.h"

#include <vector>

namespace {

struct PendingNode {
    TreeNode* node;
    NodeRecordTail tail;
    int childrenLeft;
};

void ReadOneRecord(TreeNode* node, Archive& archive, RecordForm form, std::vector<PendingNode>& pending)
{
    pending.push_back({node, NodeRecordTail(), 0});
    PendingNode& entry = pending.back();
    ReadNodeRecord(node, archive, entry.tail, form);
    ReportNodeProgress(node->document, archive);
    entry.childrenLeft = entry.tail.childCount;
    // One block for all the children instead of growing it four slots at a time.
    if (entry.childrenLeft > node->children->Capacity())
        node->children->SetCapacity(node->childCount + entry.childrenLeft);
}

// Steps 3 and 4 once a node's children are read: the stored optimal indexes become the children they name,
// and the node must be valid.
void FinishNode(PendingNode& entry, Archive& archive, RecordForm form)
{
    TreeNode* node = entry.node;
    if (entry.tail.childCount > 0 && form == RecordForm::Snapshot && !entry.tail.optimalIndexes.empty()) {
        NodeChildList* optimal = node->EnsureOptimalList();
        optimal->RemoveAll();
        for (int16_t index : entry.tail.optimalIndexes) {
            TreeNode* child = node->GetChild(index);
            if (child == nullptr) {
                archive.SetFormatError(NodeRecordInvalidNode);
                optimal->RemoveAll();
                break;
            }
            optimal->Add(child);
        }
    }
    if (!node->IsValid() && !archive.HasFormatError())
        archive.SetFormatError(NodeRecordInvalidNode);
}

}  // namespace

void ReadTreeNode(TreeNode* node, Archive& archive, RecordForm form)
{
    if (node == nullptr || archive.IsStoring() || archive.Failed())
        return;
    std::vector<PendingNode> pending;
    try {
        ReadOneRecord(node, archive, form, pending);
        while (!pending.empty()) {
            PendingNode& top = pending.back();
            if (top.childrenLeft > 0 && !archive.Failed()) {
                --top.childrenLeft;
                ReadOneRecord(new TreeNode(top.node->document), archive, form, pending);
                continue;
            }
            FinishNode(top, archive, form);
            TreeNode* finished = top.node;
            pending.pop_back();
            if (!pending.empty())
                pending.back().node->InsertChildOrThrow(finished, -1);  // counts read are checked
        }
    } catch (...) {
        // Memory ran out: the nodes not yet given to their parents go (with their children); the first is
        // the caller's.
        for (size_t i = 1; i < pending.size(); ++i)
            delete pending[i].node;
        throw;
    }
}

bool WriteTreeNode(const TreeNode* node, Archive& archive, zString* message, RecordForm form)
{
    if (node == nullptr || archive.IsLoading() || archive.Failed())
        return false;
    zString refusal;
    if (!CheckNodesStorable(node, refusal)) {
        if (message != nullptr)
            *message = refusal;
        archive.SetFormatError(NodeRecordInvalidNode);
        return false;
    }
    std::vector<const TreeNode*> pending{node};
    while (!pending.empty() && !archive.Failed()) {
        const TreeNode* current = pending.back();
        pending.pop_back();
        WriteNodeRecord(current, archive, form);
        ReportNodeProgress(current->document, archive);
        for (int i = current->childCount - 1; i >= 0; --i)
            pending.push_back(current->GetChild(i));
    }
    return !archive.Failed();
}
