#pragma once
// The result label that the tree shows at a node after roll back.

#include "foundation/zString.h"

struct TreeNode;

// The node's expected value in the window's number format as an expected value (the default format
// without a window). mode 0 is the label of the tree display.
void BuildNodeResultText(const TreeNode* node, zString& out, int mode);
