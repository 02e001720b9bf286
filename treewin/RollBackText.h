#pragma once
// The texts of a node's roll-back box: the plain label shown before roll back (terminal numbers, payoffs,
// clone names, the collapsed mark) and the result shown after it (values, optimal choices, probabilities).

#include "foundation/zString.h"

struct TreeNode;

// Writes the plain label (the prefix of the result when afterRollBack is set) and tells whether the node
// has a box.
bool BuildPlainRollBackText(TreeNode* node, zString& text, bool afterRollBack);
// The whole text of the node's box after roll back.
void BuildNodeResultText(TreeNode* node, zString& text);
// The payoff text of a node by the calculation method: "cost / eff", "benefit - cost", or the weighted
// terms joined by " + ".
void BuildPayoffText(TreeNode* node, zString& text);
