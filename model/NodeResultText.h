#pragma once
// The value a node shows after roll back: its expected value in the tree's number format.

#include "foundation/zString.h"

struct TreeNode;

// The node's expected value in the window's number format as an expected value (the default format
// without a window). mode 0 is the label of the tree display.
void BuildNodeValueText(const TreeNode* node, zString& out, int mode);
