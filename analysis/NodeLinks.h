#pragma once
// The values a node publishes through its link ids: the texts of its link items, and the sending of the
// current texts to the document's link items.

#include "foundation/zString.h"

struct TreeNode;

// The text of the node's link item id: its path probability (whole tree, optimal branches only) at the
// document's extended probability digits, its standard deviation or its expected value (rolled back
// afresh), the last two as expected values in the document's number format. False when the id is none of
// the node's three or the value failed.
bool LinkItemText(TreeNode* node, int id, zString& out);
// Sends the node's current values to the link items of its ids, in the order expected value (the stored
// one), standard deviation (computed afresh), path probability (whole tree, all branches).
void UpdateNodeLinks(TreeNode* node);
// UpdateNodeLinks over the subtree, not entering clone copies.
void UpdateAllNodeLinks(TreeNode* node);
