#include "formula/DistributionList.h"

#include "formula/RunOutcome.h"
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

int DistributionList::ResampleEachStage(RunFault* fault)
{
    int count = 0;
    for (int i = 0; i < Count(); ++i) {
        DistributionRecord* record = RecordAt(i);
        if (!record->resampleEachStage)
            continue;
        ++count;
        // Each record gets a clear flag: a table draw counts as valid only when its own flag stays clear.
        RunFault failed;
        record->Sample(&failed);
        if (failed && fault)
            fault->Set(failed.Code());
    }
    return count;
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
