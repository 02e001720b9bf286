#pragma once
// The symbol that ends a node's branch and tells its kind: a green circle (chance; logic with an L mark), a
// blue square (decision; reversed decision with an arrow), a red triangle, diamond or black line (terminal,
// by TermNodeStyle), a purple circle with an M (Markov), a black zigzag (label). Highlighted symbols are
// filled in their colour, greyed ones outlined in the clone grey.

#include <windows.h>

struct PaintContext;
struct TreeNode;

void PaintNodeSymbol(TreeNode* node, const RECT& rect, PaintContext& context, bool highlighted, bool greyed);
