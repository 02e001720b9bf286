// The stored form of a distribution (see Distribution.h).

#include "formula/Distribution.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

namespace {
// A stored parameter count beyond this cannot come from a valid stream.
constexpr int16_t kMaxStoredParameters = 16;
constexpr int kUniformType = 2;
}  // namespace

void StoreDistribution(const Distribution* distribution, Archive& archive)
{
    if (archive.HasFormatError())
        return;
    auto* d = const_cast<Distribution*>(distribution);
    VersionRecord version;
    version.Serialize(archive);
    const int16_t count = static_cast<int16_t>(d->ParameterCount());
    archive.WriteShort(static_cast<int16_t>(d->TypeCode()));
    archive.WriteShort(static_cast<int16_t>(d->Variant()));
    archive.WriteShort(count);
    for (int i = 0; i < count; ++i)
        d->Parameter(i)->Serialize(archive);
}

Distribution* LoadDistribution(Archive& archive)
{
    if (archive.Failed())
        return nullptr;
    VersionRecord version;
    version.Serialize(archive);
    int16_t type = 0;
    int16_t variant = 0;
    int16_t count = 0;
    archive.ReadShort(type).ReadShort(variant).ReadShort(count);
    if (archive.Failed())
        return nullptr;
    Distribution* distribution = MakeDistribution(type);
    if (!distribution) {
        archive.SetFormatError(kDistributionFormatError);
        return nullptr;
    }
    if (count < 0 || count > kMaxStoredParameters) {
        archive.SetState(archive.State() | Archive::StateIoFailure);
        delete distribution;
        return nullptr;
    }
    Expression values[Distribution::kMaxParameters + 1];
    values[0].SetNumber(variant);
    if (version.IsAtLeast(KnownVersion::k3_5_Beta2)) {
        for (int i = 0; i < count; ++i) {
            Expression parameter;
            parameter.Serialize(archive);
            if (i < Distribution::kMaxParameters)
                values[i + 1] = parameter;
        }
    } else {
        // Older streams hold plain numbers; the Uniform's first one is a leftover.
        int slot = 1;
        for (int i = 0; i < count; ++i) {
            double value = 0.0;
            archive.ReadDouble(value);
            if (i == 0 && type == kUniformType)
                continue;
            if (slot <= Distribution::kMaxParameters)
                values[slot++].SetNumber(value);
        }
    }
    if (archive.Failed()) {
        delete distribution;
        return nullptr;
    }
    distribution->SetParameters(values);
    return distribution;
}
