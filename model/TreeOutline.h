#pragma once
// The outline of a tree: one line per node in pre-order, indented by tabs, with the node's formulas in
// bracketed sections or, when the tree's values are current, with each node's result. Lines end in "\r\n";
// the whole outline stays within 30000 characters.

#include "foundation/zString.h"

struct TreeNode;

constexpr int kMaxOutlineLength = 30000;

// Appends the outline of node's subtree to out.
void WriteTreeOutline(const TreeNode* node, zString& out);
// The node's line, line end included.
void NodeOutlineLine(const TreeNode* node, zString& out);
// Appends " [", the letter, the second letter when not 0, and a blank.
void AppendOutlineMarker(zString& out, char letter, char secondLetter);
// "[" becomes "{" and "]" becomes "}".
void EscapeOutlineBrackets(zString& text);
