#pragma once
// The simulations' tree. Root decision: "Risky" chance (0.5 -> "Draw" DistSamp(1), 0.5 -> "Ten" 10) worth 30
// on average, "Safe" 25; DistSamp(1) is Uniform 0 .. 100. Without the distribution "Draw" pays 50; with
// effects the second payoffs are 2 at "Draw", 0 at "Ten" and 1 at "Safe".

#include "tests/model/TreeBuilder.h"

struct SimulatedTree {
    TreeBuilder tree;
    TreeNode* risky;

    explicit SimulatedTree(bool withDistribution = true, bool withEffects = false)
    {
        if (withDistribution)
            AddUniform(tree.Document(), 1, "0", "100");
        risky = tree.Add(tree.Root(), ChanceNode, "Risky");
        tree.Terminal(risky, "Draw", "0.5", withDistribution ? "DistSamp(1)" : "50", withEffects ? "2" : nullptr);
        tree.Terminal(risky, "Ten", "0.5", "10", withEffects ? "0" : nullptr);
        tree.Terminal(tree.Root(), "Safe", "", "25", withEffects ? "1" : nullptr);
    }
};
