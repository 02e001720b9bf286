#pragma once
// Evaluates one formula of a node in the node's evaluation context.

class Expression;
struct TreeNode;

// The formula's value at the node under the role name used in messages ("probability", "payoff"). On a
// formula error *error is set to 1 and, unless quiet, the error is shown and the node selected. usesVariables,
// when given, receives whether the formula referred to a variable.
double EvaluateNodeFormula(TreeNode* node, Expression& formula, const char* role, int* error, bool quiet,
                           bool* usesVariables = nullptr);
// The same for a formula text that is parsed once and not kept.
double EvaluateNodeFormulaText(TreeNode* node, const char* text, const char* role, int* error, bool quiet,
                               bool* usesVariables = nullptr);
