#include "formula/CorrelationList.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"

void CorrelationList::StoreItem(Archive& archive, void* item)
{
    auto* correlation = static_cast<CorrelationItem*>(item);
    StoreString(archive, correlation->name);
    archive.WriteShort(correlation->negative);
}

void* CorrelationList::LoadItem(Archive& archive)
{
    auto* correlation = new CorrelationItem;
    LoadString(archive, correlation->name);
    archive.ReadShort(correlation->negative);
    return correlation;
}

void* CorrelationList::CloneItem(void* item)
{
    const auto* source = static_cast<CorrelationItem*>(item);
    auto* copy = new CorrelationItem;
    copy->name = source->name;
    copy->negative = source->negative;
    copy->workingFlag = source->workingFlag;
    return copy;
}

void CorrelationList::DeleteItem(void* item)
{
    delete static_cast<CorrelationItem*>(item);
}

bool CorrelationList::ContainsName(const zString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->name == name)
            return true;
    }
    return false;
}
