#pragma once
// The (index, value) pairs of a lookup table, kept in ascending index order by their users.

#include "foundation/PtrArray.h"

// One pair. Stored form: a version record (3 bytes), the index and the value (8-byte floats each).
struct TableEntry {
    double index = 0.0;
    double value = 0.0;
};

// Owning list of TableEntry, growth step 2.
class TableEntryList : public PtrArray {
public:
    TableEntryList() : PtrArray(2, true) {}
    ~TableEntryList() override { Clear(); }

    TableEntry* EntryAt(int i) const { return static_cast<TableEntry*>(At(i)); }
    // Inserts before the first entry whose index is not below the new one; returns the position, or -1
    // when the list is full (the entry is then not taken).
    int InsertSorted(TableEntry* entry);

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};
