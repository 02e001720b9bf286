#include "model/DisplayColumnList.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

void DisplayColumn::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteLong(kind);
        StoreString(archive, formula);
    } else {
        archive.ReadLong(kind);
        LoadString(archive, formula);
    }
}

void DisplayColumnList::StoreItem(Archive& archive, void* item)
{
    static_cast<DisplayColumn*>(item)->Serialize(archive);
}

void* DisplayColumnList::LoadItem(Archive& archive)
{
    auto* column = new DisplayColumn;
    column->Serialize(archive);
    return column;
}

void* DisplayColumnList::CloneItem(void* item)
{
    const auto* source = static_cast<const DisplayColumn*>(item);
    auto* column = new DisplayColumn;
    column->kind = source->kind;
    column->formula = source->formula;
    return column;
}

void DisplayColumnList::DeleteItem(void* item)
{
    delete static_cast<DisplayColumn*>(item);
}
