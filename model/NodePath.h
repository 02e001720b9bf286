#pragma once
// Path texts that name a node from a base node.
//   absolute  "@" then, per level down, the 0-based child index and a comma ("@" alone: the base)
//   relative  "$" then comma-separated steps: "*" parent, "<" previous sibling, ">" next sibling, or a
//             1-based child number (the last step needs no comma)
//   letters   one capital letter per level, "A" the first child (the empty text: the base)

#include "foundation/zString.h"

struct TreeNode;

// The absolute path of node relative to the ancestor whose parent is base (null base: the root).
void NodePathString(const TreeNode* node, zString& out, const TreeNode* base);
// The node that path names from base, or null when a step fails.
TreeNode* FindNodeByPath(TreeNode* base, const char* path);
