#include "analysis/Outcome.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

namespace {
constexpr uint32_t kFormatOutcomeRecord = 7;
}

void Outcome::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    if (archive.IsStoring()) {
        version.Serialize(archive);
        triple.Serialize(archive);
        archive.WriteDouble(probability);
        StoreString(archive, label);
        return;
    }
    version.Serialize(archive);
    if (version.IsOlderThan(KnownVersion::k3_5))
        archive.ReadDouble(triple.value);
    else
        triple.Serialize(archive);
    archive.ReadDouble(probability);
    if (version.IsAtLeast(KnownVersion::k2_6))
        LoadString(archive, label);
    if (!(probability >= 0.0 && probability <= 1.0))
        archive.SetFormatError(kFormatOutcomeRecord);
}
