#pragma once
// Texts of proposed formulas: reduced to a number when they are constant, and put in parentheses before
// they are combined into a larger formula.

#include "foundation/zString.h"

class TreeWindow;
struct TreeNode;

// Evaluates the text as a formula at the node (or without a node). When it evaluates without error and uses
// no variables, the text becomes the value in the default number format (up to 9 places) and the result is
// true; otherwise the text stays and the result is false.
bool FormatExpressionValue(zString& text, TreeNode* node);
// A non-empty text that is neither a variable of the window nor a number is wrapped in "(" and ")".
void ParenthesizeIfExpression(zString& text, TreeWindow* window);
