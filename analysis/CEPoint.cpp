#include "analysis/CEPoint.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

CEPoint::CEPoint(double cost, double effectiveness, const zString& name, int16_t strategyIndex)
    : cost(cost), effectiveness(effectiveness), name(name), strategyIndex(strategyIndex)
{
}

void CEPoint::Serialize(Archive& archive)
{
    if (archive.Failed())
        return;
    VersionRecord version;
    if (archive.IsStoring()) {
        version.Serialize(archive);
        archive.WriteDouble(cost).WriteDouble(effectiveness).WriteShort(static_cast<int16_t>(state));
        archive.WriteDouble(costBound).WriteDouble(effBound).WriteShort(lowerIndex).WriteShort(upperIndex);
        StoreString(archive, name);
        archive.WriteShort(strategyIndex);
        return;
    }
    version.Serialize(archive);
    int16_t storedState = 0;
    archive.ReadDouble(cost).ReadDouble(effectiveness).ReadShort(storedState);
    archive.ReadDouble(costBound).ReadDouble(effBound).ReadShort(lowerIndex).ReadShort(upperIndex);
    state = storedState;
    LoadString(archive, name);
    if (version.IsAtLeast(KnownVersion::k3_5))
        archive.ReadShort(strategyIndex);
}
