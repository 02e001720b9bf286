#pragma once
// Numbers objects from 1 while a document is written or read; pointers marked skipped always get 0.

#include "foundation/PtrArray.h"

#include <cstdint>

class PointerIndexMap {
public:
    explicit PointerIndexMap(int32_t value = 0);
    PointerIndexMap(const PointerIndexMap&) = delete;
    PointerIndexMap& operator=(const PointerIndexMap&) = delete;
    ~PointerIndexMap();

    // 0 for a null or skipped pointer (isNew cleared); else the 1-based position of p, appending it with
    // the next number (isNew set) when it is not yet known. 0 as well when the map is full.
    int16_t IndexFor(const void* p, bool& isNew);
    // The pointer entered under the index; null for 0 or when none matches.
    void* PointerAt(int16_t index) const;
    // Enters a pointer under a given index (used while reading).
    bool AddPair(const void* p, int16_t index);
    // Marks a non-null pointer as skipped (once).
    void AddSkipped(const void* p);
    bool IsSkipped(const void* p) const;

    int16_t Count() const { return entries.Count(); }
    int32_t Value() const { return value; }

private:
    struct Entry {
        const void* pointer;
        int16_t index;
    };
    class EntryList : public PtrArray {
    public:
        EntryList() : PtrArray(4, true) {}
        ~EntryList() override { Clear(); }
        void DeleteItem(void* item) override { delete static_cast<Entry*>(item); }
        Entry* EntryAt(int i) const { return static_cast<Entry*>(At(i)); }
        int16_t Find(const void* p) const;
        bool Append(const void* p, int16_t index);
    };

    EntryList entries;
    EntryList skipped;
    int32_t value;
};
