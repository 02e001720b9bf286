#include "analysis/VariableRange.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

VariableRange::VariableRange(const zString& name, const FormattedValue& low, const FormattedValue& high)
    : name(name), key(name), low(low), high(high)
{
    key.MakeUpper();
}

// Stored form (the bindings are not stored; an analysis collects them again):
//   low, high, third value, tolerance   FormattedValue each, in the form of the stream's version
//   name                                 stored string
//   mode                                 2 bytes
// On load the key is rebuilt from the name.
void VariableRange::Serialize(Archive& archive)
{
    VersionRecord streamVersion;
    if (archive.IsLoading() && archive.FileVersion() != 0)
        streamVersion.SetFromKey(static_cast<int32_t>(archive.FileVersion()));
    low.Serialize(archive, streamVersion);
    high.Serialize(archive, streamVersion);
    thirdValue.Serialize(archive, streamVersion);
    tolerance.Serialize(archive, streamVersion);
    if (archive.IsStoring()) {
        StoreString(archive, name);
        archive.WriteShort(mode);
        return;
    }
    LoadString(archive, name);
    archive.ReadShort(mode);
    key = name;
    key.MakeUpper();
}
