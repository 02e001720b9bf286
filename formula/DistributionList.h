#pragma once
// The document's numbered distributions, in ascending order of their index numbers.

#include "formula/DistributionRecord.h"
#include "foundation/PtrArray.h"

class DistributionList : public PtrArray {
public:
    explicit DistributionList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~DistributionList() override { Clear(); }

    DistributionRecord* RecordAt(int i) const { return static_cast<DistributionRecord*>(At(i)); }
    // The first record of that index, or null.
    DistributionRecord* FindByIndex(int32_t index) const;
    // Inserts before the first record whose index is not below the new one; the position, -1 when full.
    int InsertSorted(DistributionRecord* record);
    // Draws a new value for every record marked to be resampled at each Markov stage, in list order; the
    // number of such records. *fault takes the code of the first draw that fails (the record reports its
    // own message).
    int ResampleEachStage(RunFault* fault);

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    // A new record with the same fields and its own copy of the distribution.
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};
