#pragma once
// A list of cost-effectiveness points. Lists built for graphs and reports own their points; the dominance
// pass uses a non-owning list of the same class as its stack. Stored as the pointer-array record whose items
// are the points' own stored form.

#include "foundation/PtrArray.h"
#include "analysis/CEPoint.h"

class CEPointList : public PtrArray {
public:
    explicit CEPointList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~CEPointList() override;

    CEPoint* Point(int i) const { return static_cast<CEPoint*>(At(i)); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};
