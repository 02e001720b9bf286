#pragma once
// The per-node result columns of the roll-back display: each column shows one kind of result, or (kind 8) a
// custom calculation given by a formula text.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>

class Archive;

struct DisplayColumn {
    static constexpr int32_t kCustomCalculation = 8;

    // Stored form: version record (3 bytes), kind (4 bytes), formula text (stored string).
    void Serialize(Archive& archive);

    int32_t kind = 0;
    zString formula;
};

class DisplayColumnList : public PtrArray {
public:
    explicit DisplayColumnList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~DisplayColumnList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    DisplayColumn* At(int i) const { return static_cast<DisplayColumn*>(PtrArray::At(i)); }
};
