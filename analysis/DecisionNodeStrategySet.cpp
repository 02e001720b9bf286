#include "analysis/DecisionNodeStrategySet.h"

#include "model/TreeNode.h"

int32_t DecisionNodeStrategySet::Count() const
{
    return node->childCount;
}

double DecisionNodeStrategySet::Cost(int32_t i) const
{
    return node->GetChild(i)->triple.cost;
}

double DecisionNodeStrategySet::Effectiveness(int32_t i) const
{
    return node->GetChild(i)->triple.effectiveness;
}

void DecisionNodeStrategySet::Name(int32_t i, zString& name) const
{
    node->GetChild(i)->GetShortText(name, nameLength);
}
