#pragma once
// A node's row of result boxes: one cell per result column, with the value computed by the last layout and
// its text as shown. A node keeps its cells (and the tree file keeps them) when the columns are switched
// off.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

class Archive;

struct ResultCell {
    // Stored form: version record (3 bytes), value (8-byte float), text (stored string).
    void Serialize(Archive& archive);

    double value = 0.0;
    zString text;
    // Width of the text in the tree pane's logical units (layout result, not stored).
    float textWidth = 0.0f;
};

class ResultCellList : public PtrArray {
public:
    explicit ResultCellList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~ResultCellList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    ResultCell* At(int i) const { return static_cast<ResultCell*>(PtrArray::At(i)); }
};
