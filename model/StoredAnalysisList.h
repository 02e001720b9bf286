#pragma once
// The stored analyses of a tree window, kept in the tree file. Owns its records.

#include "foundation/PtrArray.h"

class Archive;
struct StoredAnalysis;

class StoredAnalysisList : public PtrArray {
public:
    explicit StoredAnalysisList(int16_t growBy = 4) : PtrArray(growBy, true) {}
    ~StoredAnalysisList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    StoredAnalysis* At(int i) const { return static_cast<StoredAnalysis*>(PtrArray::At(i)); }
    // The first record whose name equals the given one ignoring case, or null.
    StoredAnalysis* FindByName(const char* name) const;

    // The whole list in its stored form.
    using PtrArray::Serialize;
    // One record through the archive; nothing while the archive carries a format error.
    static void Serialize(StoredAnalysis& record, Archive& archive);
};
