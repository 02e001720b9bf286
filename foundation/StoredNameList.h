#pragma once
// A NameList whose items are stored as stored strings (version record, length, characters, flag byte).

#include "foundation/NameList.h"

class StoredNameList : public NameList {
public:
    explicit StoredNameList(int16_t growBy = 4, bool ownsItems = true) : NameList(growBy, ownsItems) {}
    ~StoredNameList() override;

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
};
