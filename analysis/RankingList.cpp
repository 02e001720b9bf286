#include "analysis/RankingList.h"

#include "model/TreeDocument.h"
#include "model/TreeNode.h"

void* RankingList::CloneItem(void* item)
{
    return new RankingItem(*static_cast<RankingItem*>(item));
}

void RankingList::DeleteItem(void* item)
{
    delete static_cast<RankingItem*>(item);
}

bool RankingList::GoesBefore(const RankingItem& existing, const RankingItem& added)
{
    if (existing.costEffectiveness != 0)
        return existing.node->triple.cost < added.node->triple.cost;
    // Strictly better: the new value is not at least as good.
    return !existing.node->document->IsBetter(nullptr, added.node->triple.value, existing.node->triple.value);
}

void RankingList::InsertSorted(TreeNode* node, int32_t costEffectiveness)
{
    auto* item = new RankingItem{node, costEffectiveness};
    int i = 0;
    while (i < Count() && GoesBefore(*At(i), *item))
        ++i;
    if (!InsertAt(i, item))
        delete item;
}
