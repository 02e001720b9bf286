#pragma once
// The values a node publishes through its link ids: the texts of its link items, and the sending of the
// current texts to the document's link items.

#include "foundation/zString.h"

class TreeDocument;
struct TreeNode;

// The text of the node's link item id: its path probability (whole tree, optimal branches only) at the
// document's extended probability digits, its standard deviation or its expected value (rolled back
// afresh), the last two as expected values in the document's number format. False when the id is none of
// the node's three or the value failed.
bool LinkItemText(TreeNode* node, int id, zString& out);
// The answer to another program's request for the item "DDE_" + id: the text of that link item of the
// node that carries the id. False when the name does not begin with "DDE_", when its rest is not a whole
// number from 1 to 32767 (digits only), or when no node carries the id.
bool LinkValueText(TreeDocument& document, const char* itemName, zString& out);
// Sends the node's current values to the link items of its ids, in the order expected value (the stored
// one), standard deviation (computed afresh), path probability (whole tree, all branches).
void UpdateNodeLinks(TreeNode* node);
// UpdateNodeLinks over the subtree, not entering clone copies.
void UpdateAllNodeLinks(TreeNode* node);
