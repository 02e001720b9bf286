#pragma once
// The value of a Markov node by a cohort run. Markov cohort analysis is not available yet: a Markov node
// reports that it cannot be evaluated instead of giving a value.

struct TreeNode;

// Payoff i of the Markov node's cohort run; for now sets *error and shows why the node has no value.
double MarkovCohortValue(TreeNode* node, int* error, int payoffIndex);
