#pragma once
// The strategies of a decision node: its branches, with the cost and effectiveness that the last roll back
// left in each child, named by the branch text cut to a given length.

#include "analysis/StrategySet.h"

struct TreeNode;

class DecisionNodeStrategySet : public StrategySet {
public:
    explicit DecisionNodeStrategySet(const TreeNode* node, int nameLength = 30) : node(node), nameLength(nameLength) {}

    int32_t Count() const override;
    double Cost(int32_t i) const override;
    double Effectiveness(int32_t i) const override;
    void Name(int32_t i, zString& name) const override;

private:
    const TreeNode* node;
    int nameLength;
};
