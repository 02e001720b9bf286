#pragma once
// The document's link items: each publishes one value of a node (its expected value, standard deviation or
// path probability) to other programs under a 16-bit id. The list is kept in ascending order of id.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>

struct LinkItem {
    explicit LinkItem(int16_t id) : id(id) {}
    // The link's update operation: the value's new text, kept for the programs that ask for it.
    void Update(const char* text) { value = text; }

    int16_t id;
    int32_t active = 1;
    zString value;  // the text last sent
};

class LinkItemList : public PtrArray {
public:
    LinkItemList() : PtrArray(2, true) {}
    ~LinkItemList() override { Clear(); }
    void DeleteItem(void* item) override { delete static_cast<LinkItem*>(item); }
    // Link items are made again by their nodes rather than stored: the tree file holds an empty list, and a
    // stored item cannot be read (the file reads as damaged rather than misaligned).
    void* LoadItem(Archive& archive) override;

    LinkItem* At(int i) const { return static_cast<LinkItem*>(PtrArray::At(i)); }
    // The item with that id; ids below 1 give null.
    LinkItem* Find(int id) const;
    // The lowest free id above the first gap of the ids in order (previous id starting at 1), else the last
    // id plus 1: ids 1 and 3 give 2, 2 and 3 give 4, only 5 gives 2, none gives 1.
    int16_t NewId() const;
    // Makes an item with a new id and inserts it in id order; null when the list is full.
    LinkItem* AddNew();
    // Deletes the item with that id; false when there is none.
    bool DeleteId(int id);
};
