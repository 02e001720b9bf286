#include "model/ResultCellList.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

void ResultCell::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(value);
        StoreString(archive, text);
    } else {
        archive.ReadDouble(value);
        LoadString(archive, text);
    }
}

void ResultCellList::StoreItem(Archive& archive, void* item)
{
    static_cast<ResultCell*>(item)->Serialize(archive);
}

void* ResultCellList::LoadItem(Archive& archive)
{
    auto* cell = new ResultCell;
    cell->Serialize(archive);
    return cell;
}

void* ResultCellList::CloneItem(void* item)
{
    return new ResultCell(*static_cast<const ResultCell*>(item));
}

void ResultCellList::DeleteItem(void* item)
{
    delete static_cast<ResultCell*>(item);
}
