#pragma once
// Collects the outcomes a node can lead to along its optimal path: every end node reached through the
// optimal choices, with its value triple, the product of the branch probabilities on the way and its name.
// The wait cursor shows while the collector exists.

struct TreeNode;
class OutcomeDistribution;

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

private:
    bool graphChecks;
};
