#include "formula/DistributionList.h"

#include "foundation/Archive.h"

DistributionRecord* DistributionList::FindByIndex(int32_t index) const
{
    for (int i = 0; i < Count(); ++i) {
        if (RecordAt(i)->index == index)
            return RecordAt(i);
    }
    return nullptr;
}

int DistributionList::InsertSorted(DistributionRecord* record)
{
    int position = 0;
    while (position < Count() && RecordAt(position)->index < record->index)
        ++position;
    return InsertAt(position, record) ? position : -1;
}

int DistributionList::ValueOf(int32_t index, int resample, double* value) const
{
    DistributionRecord* record = FindByIndex(index);
    if (!record)
        return 0;
    int32_t failed = 0;
    *value = resample ? record->CurrentSample(&failed) : record->ExpectedValue(&failed);
    return failed ? -1 : 1;
}

void DistributionList::StoreItem(Archive& archive, void* item) { static_cast<DistributionRecord*>(item)->Serialize(archive); }

void* DistributionList::LoadItem(Archive& archive)
{
    auto* record = new DistributionRecord;
    record->Serialize(archive);
    return record;
}

void* DistributionList::CloneItem(void* item) { return new DistributionRecord(*static_cast<DistributionRecord*>(item)); }

void DistributionList::DeleteItem(void* item) { delete static_cast<DistributionRecord*>(item); }
