#include "model/DocVariable.h"

#include "formula/CorrelationList.h"
#include "formula/NameResolution.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

DocVariable::DocVariable(const char* newName)
{
    SetName(newName);
}

DocVariable::~DocVariable()
{
    delete correlations;
}

void DocVariable::Reset()
{
    definition = Expression();
    hasRange = 0;
    tFlag = 0;
    flag3 = 1;
    low = FormattedValue();
    high = FormattedValue();
    tValue1 = tValue2 = tValue3 = 0.0f;
    comment.Clear();
    text4.Clear();
    text5.Clear();
    shortDescription.Clear();
    delete correlations;
    correlations = nullptr;
}

void DocVariable::Assign(const DocVariable& source)
{
    if (this == &source)
        return;
    VariableDefinition::Assign(source);
    hasRange = source.hasRange;
    low.value = source.low.value;
    low.text.Clear();
    high.value = source.high.value;
    high.text.Clear();
    comment = source.comment;
    shortDescription = source.shortDescription;
    text4 = source.text4;
    text5 = source.text5;
    tFlag = source.tFlag;
    tValue1 = source.tValue1;
    tValue2 = source.tValue2;
    tValue3 = source.tValue3;
    flag3 = source.flag3;
    if (source.correlations) {
        delete correlations;
        correlations = new CorrelationList(source.correlations->GrowBy(), true);
        correlations->Copy(*source.correlations, true);
    }
}

int DocVariable::GetLabel(zString& out) const
{
    if (!shortDescription.IsEmpty()) {
        out = shortDescription;
        return 1;
    }
    out = name;
    return 0;
}

void DocVariable::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        const VersionRecord& version = VersionRecord::Current();
        VersionRecord(version).Serialize(archive);
        StoreString(archive, name);
        StoreString(archive, comment);
        definition.Serialize(archive);
        archive.WriteByte(static_cast<uint8_t>(hasRange));
        low.Serialize(archive, version);
        high.Serialize(archive, version);
        StoreString(archive, text4);
        StoreString(archive, text5);
        StoreString(archive, shortDescription);
        archive.WriteShort(tFlag);
        archive.WriteFloat(tValue1);
        archive.WriteFloat(tValue2);
        archive.WriteShort(flag3);
        archive.WriteByte(correlations ? 1 : 0);
        if (correlations)
            correlations->Serialize(archive);
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    // A record loaded in place may change its name, and with it what the name resolves to.
    InvalidateNameResolution();
    LoadString(archive, name);
    if (version.IsOlderThan(KnownVersion::k2_6)) {
        LoadString(archive, upperName);
    } else {
        LoadString(archive, comment);
        upperName = name;
        upperName.MakeUpper();
    }
    definition.Serialize(archive);
    uint8_t rangeByte = 0;
    archive.ReadByte(rangeByte);
    hasRange = rangeByte;
    low.Serialize(archive, version);
    high.Serialize(archive, version);
    if (version.IsAtLeast(KnownVersion::k3_0))
        LoadString(archive, text4);
    if (version.IsAtLeast(KnownVersion::k3_0_Beta2)) {
        LoadString(archive, text5);
        LoadString(archive, shortDescription);
        archive.ReadShort(tFlag);
        archive.ReadFloat(tValue1);
        archive.ReadFloat(tValue2);
        tValue3 = tValue1;
    }
    if (version.IsNewerThan(KnownVersion::k3_0_Beta2))
        archive.ReadShort(flag3);
    if (version.IsAtLeast(KnownVersion::k3_5_Beta2)) {
        uint8_t hasCorrelations = 0;
        archive.ReadByte(hasCorrelations);
        if (hasCorrelations != 0 && !archive.Failed()) {
            delete correlations;
            correlations = new CorrelationList(4, true);
            correlations->Serialize(archive);
        }
    }
}

void DocVariableList::StoreItem(Archive& archive, void* item)
{
    static_cast<DocVariable*>(item)->Serialize(archive);
}

void* DocVariableList::LoadItem(Archive& archive)
{
    auto* variable = new DocVariable;
    variable->Serialize(archive);
    return variable;
}

void* DocVariableList::CloneItem(void* item)
{
    auto* copy = new DocVariable;
    copy->Assign(*static_cast<DocVariable*>(item));
    return copy;
}

void DocVariableList::DeleteItem(void* item)
{
    InvalidateNameResolution();
    delete static_cast<DocVariable*>(item);
}

int DocVariableList::InsertSorted(DocVariable* variable)
{
    InvalidateNameResolution();
    const int index = SortedVariableInsertIndex(*this, variable->upperName.Text());
    return InsertAt(index, variable) ? index : -1;
}

DocVariable* FindVariableDefinition(const DocVariableList& list, const char* upperName)
{
    if (list.Count() == 0)
        return nullptr;
    return list.At(FindSortedVariableIndex(list, upperName));
}
