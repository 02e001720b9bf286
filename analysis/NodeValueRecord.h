#pragma once
// Stored records of the node-value commands: the command id and the selected nodes by their paths, so that
// a re-run selects the same nodes and sends the same command.
//   parameters: command id (decimal), node count n (decimal), then n node paths from the root

#include "model/NodeChildList.h"

struct StoredAnalysis;
struct TreeNode;

// A new record of the node-value kind for the nodes, the command and the template-allowed flag.
StoredAnalysis* MakeNodeValueStoredRecord(const NodeChildList& nodes, int commandId, int templateAllowed);
// The same for a single node.
StoredAnalysis* MakeNodeValueRecord(TreeNode* node, int commandId, int templateAllowed);
