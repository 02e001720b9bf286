#pragma once
// The variables correlated with a document variable: each names the other variable and whether the
// correlation is negative.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>


struct CorrelationItem {
    zString name;
    int16_t negative = 0;
    int16_t workingFlag = 0;  // copied with the item, never stored
};

class CorrelationList : public PtrArray {
public:
    explicit CorrelationList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~CorrelationList() override { Clear(); }

    // Stored form of an item: name (stored string), negative (16 bits).
    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    CorrelationItem* At(int i) const { return static_cast<CorrelationItem*>(PtrArray::At(i)); }
    bool ContainsName(const zString& name) const;
};
