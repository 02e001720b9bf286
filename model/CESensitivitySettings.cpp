#include "model/CESensitivitySettings.h"

#include "foundation/Archive.h"

void CESensitivitySettings::SetDefaults()
{
    willingnessToPay.SetNumber(0.0, "0");
    costCeiling.SetNumber(20000.0, "20000");
    effectivenessFloor.SetNumber(0.1, "0.1");
    excludeExtended = 0;
    useCostCeiling = 0;
    useEffectivenessFloor = 0;
}

void CESensitivitySettings::Serialize(Archive& archive)
{
    willingnessToPay.Serialize(archive);
    costCeiling.Serialize(archive);
    effectivenessFloor.Serialize(archive);
    if (archive.IsStoring()) {
        if (archive.HasFormatError())
            return;
        archive.WriteShort(static_cast<int16_t>(excludeExtended));
        archive.WriteShort(static_cast<int16_t>(useCostCeiling));
        archive.WriteShort(static_cast<int16_t>(useEffectivenessFloor));
        return;
    }
    if (archive.HasFormatError())
        return;
    int16_t exclude = 0;
    int16_t ceiling = 0;
    int16_t floor = 0;
    archive.ReadShort(exclude).ReadShort(ceiling).ReadShort(floor);
    if (archive.State() != 0)
        return;
    excludeExtended = exclude;
    useCostCeiling = ceiling;
    useEffectivenessFloor = floor;
}
