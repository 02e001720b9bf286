#pragma once
// Number texts that may be formulas: showing a constant formula as its number, and bracketing a text that is
// neither a number nor a variable so that it can stand inside a larger formula.

#include "foundation/zString.h"

struct TreeNode;
class TreeDocument;

// Evaluates the text as a formula at the node (without a node: with no tree); when that succeeds without
// using a variable or table, the text becomes the value with up to nine places and the result is true.
// Otherwise the text stays and the result is false.
bool FormatExpressionValue(zString& text, TreeNode* node);
// Wraps a non-empty text in "(" and ")" unless it is a variable of the window (when one is given) or a number.
void ParenthesizeIfExpression(zString& text, TreeDocument* document);
