#pragma once
// The branches of a rolled-back node in ranking order: by cost, lowest first, for cost-effectiveness, else
// from the best value to the worst by the tree's direction. A new item goes before the first item that is
// not strictly better, so among equal values a later branch comes first.

#include "foundation/PtrArray.h"

#include <cstdint>

struct TreeNode;

struct RankingItem {
    TreeNode* node;
    int32_t costEffectiveness;
};

class RankingList : public PtrArray {
public:
    RankingList() : PtrArray(2, true) {}
    ~RankingList() override { Clear(); }

    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    RankingItem* At(int i) const { return static_cast<RankingItem*>(PtrArray::At(i)); }
    void InsertSorted(TreeNode* node, int32_t costEffectiveness);
    // The existing item ranks before the new one.
    static bool GoesBefore(const RankingItem& existing, const RankingItem& added);
};
