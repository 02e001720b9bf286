#include "foundation/FormattedValue.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

void FormattedValue::Serialize(Archive& archive, const VersionRecord& ownerVersion)
{
    if (archive.IsStoring()) {
        archive.WriteDouble(value);
        StoreString(archive, text);
        return;
    }
    if (ownerVersion.IsAtMost(KnownVersion::k3_5_Beta2)) {
        float single = 0.0f;
        archive.ReadFloat(single);
        value = single;
        text.Clear();
        return;
    }
    archive.ReadDouble(value);
    LoadString(archive, text);
}
