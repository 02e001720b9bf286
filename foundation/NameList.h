#pragma once
// List of strings on PtrArray; an owning list deletes its strings. Items are stored in the string's own
// stored form (4-byte length and characters).

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>

class NameList : public PtrArray {
public:
    explicit NameList(int16_t growBy = 4, bool ownsItems = true);
    ~NameList() override;

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    zString* At(int i) const { return static_cast<zString*>(PtrArray::At(i)); }
    zString* Item(int i) const { return At(i); }

    // Clear, then Copy.
    void Assign(const NameList& other, bool clone);
    // Appends a new copy of the text; with clearSource the source becomes empty.
    bool AddCopy(zString& text, bool clearSource = false);
    bool AddCopy(const zString& text);
    // Appends a new string made from the text.
    bool AddText(const char* text);
    // Inserts the given string object (not a copy; the list takes it over when it owns its items) before
    // the first item that compares not less (byte-wise); returns its index, or -1 when the list is full.
    int16_t InsertSorted(zString* text);
    // True when an item equals the text (case-sensitive); the walk stops at the first null slot.
    bool Contains(const char* text) const;
    bool Contains(const zString& text) const { return Contains(text.Text()); }
    // Appends the items to out, each but the last followed by the separator, while the characters added
    // stay within maxLength; stops at the first item that does not fit. True when every item was added.
    bool Join(zString& out, const char* separator, uint32_t maxLength) const;
};
