#pragma once
// The value of an end node under the tree's calculation method, combined from its payoffs.

#include "formula/RunOutcome.h"

struct TreeNode;
class TreeDocument;

// The value of payoff i at the node; sets *error on failure.
using PayoffEvaluator = double (*)(TreeNode* node, RunFault* error, int payoffIndex);

// Method 0: payoff CurrentPayoff. 1: cost / effectiveness (1e20 when |effectiveness| < 1e-10), both left in
// the node. 2: benefit minus cost. 3: the weighted sum of payoffs 0-3 (weights below 1e-10 in magnitude
// leave their payoff unevaluated). Other methods: 0.
double ComputeMultiAttributeValue(TreeDocument* document, TreeNode* node, PayoffEvaluator evaluator, RunFault* error);
