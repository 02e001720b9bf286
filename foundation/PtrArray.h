#pragma once
// Growable array of item pointers, the base of most of the program's lists. Subclasses decide how one item
// is stored, loaded, cloned and deleted. Capacity, count and growth step are signed 16-bit numbers, so an
// array holds at most 32767 items; an insertion into a full array fails and changes nothing.

#include <cstdint>

class Archive;

class PtrArray {
public:
    static constexpr int16_t kMaxItems = 32767;
    static constexpr int16_t kMarker = 213;
    // qsort-style comparison: for Sort both arguments point to slots; for BinarySearch the first is the
    // key and the second points to a slot.
    using Compare = int (*)(const void* a, const void* b);

    explicit PtrArray(int16_t growBy = 4, bool ownsItems = false);
    PtrArray(const PtrArray&) = delete;
    PtrArray& operator=(const PtrArray&) = delete;
    // Frees the block only: a subclass that owns its items calls Clear() in its own destructor, where
    // its DeleteItem is still reachable.
    virtual ~PtrArray();

    virtual void StoreItem(Archive& archive, void* item);
    virtual void* LoadItem(Archive& archive);
    virtual void* CloneItem(void* item);
    virtual void DeleteItem(void* item);
    // Stored form:
    //   current version record   3 bytes
    //   growBy                   2 bytes
    //   ownsItems (low byte)     1 byte
    //   count                    2 bytes
    //   marker 213               2 bytes (from version 2.6 on)
    //   each item                through StoreItem
    // Loading keeps the array's own ownsItems (the stored flag is skipped) and sets format error 30 on a
    // wrong marker or when fewer items than the count could be read. A count of more items than the rest
    // of the stream has bytes reads none of them (Archive::Holds), with the same error.
    virtual void Serialize(Archive& archive);

    int16_t Count() const { return count; }
    int16_t Capacity() const { return capacity; }
    int16_t GrowBy() const { return growBy; }
    bool OwnsItems() const { return ownsItems != 0; }
    void SetOwnsItems(bool owns) { ownsItems = owns ? 1 : 0; }
    bool IsEmpty() const { return count == 0; }

    bool IsValidIndex(int i) const { return i >= 0 && i < count; }
    // The item, or null for an invalid index.
    void* At(int i) const { return IsValidIndex(i) ? items[i] : nullptr; }
    void* Item(int i) const { return At(i); }
    // The block of item pointers (null before the first item), for a caller that fetches it ahead.
    const void* ItemBlock() const { return items; }
    // Inserts before index i (an invalid index means the end). False when the array is full (32767
    // items) or memory runs out; the array is then unchanged.
    bool InsertAt(int i, void* item);
    bool InsertItemAt(void* item, int i) { return InsertAt(i, item); }
    bool Add(void* item) { return InsertAt(count, item); }
    // Removes the item at a valid index without deleting it.
    void RemoveAt(int i);
    // Deletes (DeleteItem) and removes the item at a valid index.
    void DeleteAt(int i);
    // First index holding p, else -1.
    int16_t IndexOf(const void* p) const;
    bool Contains(const void* p) const { return IndexOf(p) >= 0; }
    void RemovePtr(const void* p);
    void DeletePtr(void* p);
    // New block of n slots (at most 32767, never fewer than the count); false when memory runs out.
    bool SetCapacity(int n);
    // Frees the block without deleting items.
    void RemoveAll();
    // Removes every item without deleting it, keeping the block for the items that follow.
    void Empty();
    // DeleteItem on each item in index order, then RemoveAll.
    void DeleteAll();
    // DeleteAll when the array owns its items, else RemoveAll.
    void Clear();
    // Takes the source's growth step, count and capacity (keeping its own ownsItems) and a copy of its
    // block; with clone every item is replaced by CloneItem(item). The caller clears the array first.
    void Copy(const PtrArray& source, bool clone);
    // Holds the same pointers as the source (the old block is freed without deleting items).
    void AssignShallow(const PtrArray& source) { Copy(source, false); }
    void Sort(Compare compare);
    // Pointer to the matching slot, or null.
    void** BinarySearch(const void* key, Compare compare) const;
    void ForEach(void (*function)(void* item, void* argument), void* argument) const;

private:
    void** items = nullptr;
    int16_t capacity = 0;
    int16_t count = 0;
    int16_t growBy;
    int16_t ownsItems;
};

// Walks an array's items in index order, then yields null.
class PtrArrayIter {
public:
    explicit PtrArrayIter(const PtrArray& array) : array(array) {}
    void* Next() { return index < array.Count() ? array.At(index++) : nullptr; }
    void Reset() { index = 0; }

private:
    const PtrArray& array;
    int index = 0;
};
