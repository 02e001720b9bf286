#include "model/VariableDefinition.h"

#include "formula/NameResolution.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <cstring>

VariableDefinition::VariableDefinition(const char* newName, const char* formulaText) : definition(formulaText)
{
    SetName(newName);
}

void VariableDefinition::SetName(const char* newName)
{
    InvalidateNameResolution();
    name = newName;
    upperName = newName;
    upperName.MakeUpper();
}

void VariableDefinition::Assign(const VariableDefinition& source)
{
    if (this == &source)
        return;
    InvalidateNameResolution();
    name = source.name;
    upperName = source.upperName;
    definition.Assign(source.definition);
}

void VariableDefinition::FormatAssignment(zString& out, bool spaced) const
{
    out = name;
    out += spaced ? " = " : "=";
    out += definition.Text();
}

void VariableDefinition::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    if (archive.IsStoring()) {
        version.Serialize(archive);
        StoreString(archive, name);
        definition.Serialize(archive);
        return;
    }
    version.Serialize(archive);
    InvalidateNameResolution();
    LoadString(archive, name);
    const bool beforeUpperRebuild = version.IsOlderThan(KnownVersion::k2_6);
    if (beforeUpperRebuild) {
        LoadString(archive, upperName);
    } else {
        upperName = name;
        upperName.MakeUpper();
    }
    definition.Serialize(archive);
    if (beforeUpperRebuild) {
        uint8_t unusedByte = 0;
        int32_t unusedWord = 0;
        archive.ReadByte(unusedByte);
        archive.ReadLong(unusedWord);
        archive.ReadLong(unusedWord);
    }
}

int FindSortedVariableIndex(const PtrArray& list, const char* upperName)
{
    int lo = 0;
    int hi = list.Count();
    while (lo < hi) {
        const int mid = (lo + hi - 1) / 2;
        const auto* item = static_cast<const VariableDefinition*>(list.At(mid));
        const int order = std::strcmp(upperName, item->upperName.Text());
        if (order == 0)
            return mid;
        if (order < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return -1;
}

int SortedVariableInsertIndex(const PtrArray& list, const char* upperName)
{
    int lo = 0;
    int hi = list.Count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const auto* item = static_cast<const VariableDefinition*>(list.At(mid));
        if (std::strcmp(item->upperName.Text(), upperName) >= 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

void VariableDefList::StoreItem(Archive& archive, void* item)
{
    static_cast<VariableDefinition*>(item)->Serialize(archive);
}

void* VariableDefList::LoadItem(Archive& archive)
{
    auto* definition = new VariableDefinition;
    definition->Serialize(archive);
    return definition;
}

void* VariableDefList::CloneItem(void* item)
{
    auto* copy = new VariableDefinition;
    copy->Assign(*static_cast<VariableDefinition*>(item));
    return copy;
}

void VariableDefList::DeleteItem(void* item)
{
    InvalidateNameResolution();
    delete static_cast<VariableDefinition*>(item);
}

int VariableDefList::InsertSorted(VariableDefinition* definition)
{
    InvalidateNameResolution();
    const int index = SortedVariableInsertIndex(*this, definition->upperName.Text());
    return InsertAt(index, definition) ? index : -1;
}

VariableDefinition* VariableDefList::Find(const char* upperName) const
{
    if (Count() == 0)
        return nullptr;
    return At(FindSortedVariableIndex(*this, upperName));
}

int VariableDefList::IndexOfName(const char* upperName) const
{
    return Count() == 0 ? -1 : FindSortedVariableIndex(*this, upperName);
}
