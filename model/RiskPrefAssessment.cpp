#include "model/RiskPrefAssessment.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

bool RiskPrefAssessment::Check(zString& message) const
{
    message.Clear();
    return true;
}

void RiskPrefAssessment::Clear()
{
    type = 0;
    constantAssessed = 0;
    pointsAssessed = 0;
    coefficient = 0.0;
    points.reset();
}

void RiskPrefAssessment::ResetTable()
{
    points.reset(new Point[kPointCount]());
}

double Utility(TreeDocument*, double value, int*)
{
    return value;
}

double InverseUtility(TreeDocument*, double utility, int*)
{
    return utility;
}

void RiskPrefAssessment::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(type));
        archive.WriteByte(pointsAssessed).WriteByte(constantAssessed).WriteDouble(coefficient);
        archive.WriteShort(points ? 1 : 0);
        for (int i = 0; points && i < kPointCount - 1; ++i)
            archive.WriteDouble(points[i].utility).WriteDouble(points[i].value);
        return;
    }
    int16_t storedType = 0;
    int16_t hasTable = 0;
    archive.ReadShort(storedType).ReadByte(pointsAssessed).ReadByte(constantAssessed).ReadDouble(coefficient);
    archive.ReadShort(hasTable);
    type = storedType;
    points.reset();
    if (hasTable != 1 || archive.Failed())
        return;
    ResetTable();
    for (int i = 0; i < kPointCount - 1; ++i)
        archive.ReadDouble(points[i].utility).ReadDouble(points[i].value);
}
