#pragma once
// Queries on a rolled-back tree beyond a node's own value: the probability of reaching a node, the
// standard deviation of its outcome, the range of the end values below it, and one random pass down the
// tree as Monte Carlo trials use it.

#include "formula/RunOutcome.h"

struct TreeNode;

// The product of the branch probabilities from the node up to the ancestor (null: the root); 0 when a
// logic node above does not follow the path or, with onlyOptimal and current values, when the path leaves
// the optimal path.
double PathProbability(TreeNode* node, RunFault* error, TreeNode* ancestor, bool onlyOptimal);
// Square root of the probability-weighted squared distances of the end values below the node from their
// probability-weighted mean (the node's expected value without a risk preference).
double NodeStandardDeviation(TreeNode* node, RunFault* error);
// Widens [low, high] to hold every end value below the node (the caller sets both first).
void RangeOfEndValues(TreeNode* node, double* low, double* high, RunFault* error);
// The node's value for a measure: 0 and 4 the expected value, 1 the variance of its outcomes, 2 the largest
// and 3 the smallest end value below it; any other kind 0.
double ComputeNodeMeasure(TreeNode* node, RunFault* error, int kind);
// The child a random trial takes at the node.
int RandomBranchIndex(TreeNode* node, RunFault* error);
// One random pass from the node to an end node (stored in *endNode); the value reached.
double TrialValue(TreeNode* node, RunFault* error, TreeNode** endNode);
double TrialValueChecked(TreeNode* node, RunFault* error, TreeNode** endNode);
