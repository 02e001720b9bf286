#pragma once
// Collects the outcomes a node can lead to along its optimal path: every end node reached through the
// optimal choices, with its value triple, the product of the branch probabilities on the way and its name.
// The wait cursor shows while the collector exists.

#include "formula/RunOutcome.h"

#include <vector>

struct TreeNode;
class OutcomeDistribution;

// An end node on the optimal path and the product of the branch probabilities from the collected node to it.
struct OptimalEndNode {
    TreeNode* node;
    double probability;
};

class DistributionCollector {
public:
    // With graphChecks (the distribution graphs), a single end node or end values that are all equal end
    // the collection with a message, since there is nothing to draw; without them (standard deviation)
    // such a distribution is collected like any other.
    explicit DistributionCollector(bool graphChecks = true);
    ~DistributionCollector();
    DistributionCollector(const DistributionCollector&) = delete;
    DistributionCollector& operator=(const DistributionCollector&) = delete;

    // Rolls the node back and appends its outcomes to the list (untouched on failure). Nonzero on failure,
    // after the message that explains it.
    int Collect(TreeNode* node, OutcomeDistribution& outcomes);
    // Rolls the node back and gathers its optimal end nodes with their path probabilities in one walk down
    // the tree (no graph checks, no records). The failure's code, after the message that explains it.
    RunFault Gather(TreeNode* node, std::vector<OptimalEndNode>& ends);

private:
    bool graphChecks;
};
