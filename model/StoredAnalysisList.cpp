#include "model/StoredAnalysisList.h"

#include "model/StoredAnalysis.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/StringHelpers.h"
#include "model/GraphTemplate.h"

void StoredAnalysisList::StoreItem(Archive& archive, void* item)
{
    Serialize(*static_cast<StoredAnalysis*>(item), archive);
}

void* StoredAnalysisList::LoadItem(Archive& archive)
{
    StoredAnalysis* record = StoredAnalysis::New();
    Serialize(*record, archive);
    return record;
}

void* StoredAnalysisList::CloneItem(void* item)
{
    return static_cast<StoredAnalysis*>(item)->Clone();
}

void StoredAnalysisList::DeleteItem(void* item)
{
    StoredAnalysis::Delete(static_cast<StoredAnalysis*>(item));
}

StoredAnalysis* StoredAnalysisList::FindByName(const char* name) const
{
    const zString wanted(name);
    for (int i = 0; i < Count(); ++i) {
        if (EqualsNoCase(At(i)->name, wanted))
            return At(i);
    }
    return nullptr;
}

// Stored form of one record:
//   version record of the writing program         3 bytes
//   kind                                          i16
//   name                                          stored string (2.5 build 4 and older: the string's short
//                                                 form, 4-byte length and characters)
//   parameters                                    list of stored strings
//   settings version                              3 bytes        newer than 2.6 beta 5
//   comment                                       stored string  newer than 3.0
//   template allowed                              i16            3.0 beta 4 and newer
//   template present                              i16            3.0 beta 4 and newer
//   graph template                                record         when present
// Records of 2.6 beta 5 and older take settings version 2.5 and no comment or template.
void StoredAnalysisList::Serialize(StoredAnalysis& record, Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord fileVersion;
    if (archive.IsStoring()) {
        fileVersion.Serialize(archive);
        archive.WriteShort(static_cast<int16_t>(record.kind));
        StoreString(archive, record.name);
        record.parameters->Serialize(archive);
        record.version.Serialize(archive);
        StoreString(archive, record.comment);
        archive.WriteShort(record.templateAllowed);
        archive.WriteShort(record.graphTemplate != nullptr ? 1 : 0);
        if (record.graphTemplate != nullptr)
            record.graphTemplate->Serialize(archive);
        return;
    }
    fileVersion.Serialize(archive);
    int16_t kind = 0;
    archive.ReadShort(kind);
    record.kind = kind;
    if (fileVersion.IsAtMost(KnownVersion::k2_5_Build4))
        record.name.Serialize(archive);
    else
        LoadString(archive, record.name);
    record.parameters->Serialize(archive);
    if (fileVersion.IsAtMost(KnownVersion::k2_6_Beta5)) {
        record.version.SetFromKey(KnownVersion::k2_5);
        return;
    }
    record.version.Serialize(archive);
    if (fileVersion.IsNewerThan(KnownVersion::k3_0))
        LoadString(archive, record.comment);
    if (fileVersion.IsOlderThan(KnownVersion::k3_0_Beta4))
        return;
    int16_t present = 0;
    archive.ReadShort(record.templateAllowed).ReadShort(present);
    if (present != 0 && !archive.Failed()) {
        delete record.graphTemplate;
        record.graphTemplate = new GraphTemplate;
        record.graphTemplate->Serialize(archive);
    }
}
