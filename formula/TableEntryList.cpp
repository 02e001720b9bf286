#include "formula/TableEntryList.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

int TableEntryList::InsertSorted(TableEntry* entry)
{
    int position = 0;
    while (position < Count() && EntryAt(position)->index < entry->index)
        ++position;
    return InsertAt(position, entry) ? position : -1;
}

void TableEntryList::StoreItem(Archive& archive, void* item)
{
    auto* entry = static_cast<TableEntry*>(item);
    VersionRecord version;
    version.Serialize(archive);
    archive.WriteDouble(entry->index);
    archive.WriteDouble(entry->value);
}

void* TableEntryList::LoadItem(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    auto* entry = new TableEntry;
    archive.ReadDouble(entry->index);
    archive.ReadDouble(entry->value);
    if (archive.Failed()) {
        delete entry;
        return nullptr;
    }
    return entry;
}

void* TableEntryList::CloneItem(void* item) { return new TableEntry(*static_cast<TableEntry*>(item)); }

void TableEntryList::DeleteItem(void* item) { delete static_cast<TableEntry*>(item); }
