#pragma once
// A window's owned note boxes, stored item by item through NoteBox::Serialize.

#include "foundation/PtrArray.h"

class NoteBox;

class NoteBoxList : public PtrArray {
public:
    explicit NoteBoxList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~NoteBoxList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    NoteBox* At(int i) const { return static_cast<NoteBox*>(PtrArray::At(i)); }
};
