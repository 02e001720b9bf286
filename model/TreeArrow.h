#pragma once
// Free arrows drawn anywhere on a tree: a tail and a head point in inches. The document owns them in its
// arrow list, which the tree file stores after the clone-master registry.

#include "foundation/PtrArray.h"

class Archive;
class TreeDocument;

// Format error of an arrow record whose marker is wrong.
constexpr uint32_t FormatBadArrow = 27;

struct TreeArrow {
    // Stored form:
    //   version record   3 bytes, the current one when written
    //   marker           1 byte, 0x44
    //   tail x, tail y, head x, head y   4-byte floats
    // A wrong marker sets format error 27; a point out of a tree's range (LogicalRect.h), 41.
    void Serialize(Archive& archive);

    float tailX = 0, tailY = 0, headX = 0, headY = 0;
    TreeDocument* owner = nullptr;
};

class TreeArrowList : public PtrArray {
public:
    TreeArrowList() : PtrArray(4, true) {}
    ~TreeArrowList() override { Clear(); }
    void StoreItem(Archive& archive, void* item) override { static_cast<TreeArrow*>(item)->Serialize(archive); }
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override { return new TreeArrow(*static_cast<TreeArrow*>(item)); }
    void DeleteItem(void* item) override { delete static_cast<TreeArrow*>(item); }
    TreeArrow* At(int i) const { return static_cast<TreeArrow*>(PtrArray::At(i)); }
};
