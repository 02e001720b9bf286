#include "foundation/ValueTriple.h"

#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"

#include <cmath>
#include <vector>

int ValueTriple::selector = ComponentValue;

double ValueTriple::Component(int component) const
{
    switch (component) {
    case ComponentCost:
        return cost;
    case ComponentEffectiveness:
        return effectiveness;
    default:
        return value;
    }
}

double ValueTriple::Selected() const
{
    return Component(selector);
}

int ValueTriple::Compare(const ValueTriple& other) const
{
    const double difference = Selected() - other.Selected();
    if (difference < 0)
        return -1;
    return difference > 0 ? 1 : 0;
}

bool ValueTriple::NearlyEqual(const ValueTriple& other) const
{
    return std::fabs(cost - other.cost) < 1e-10 && std::fabs(effectiveness - other.effectiveness) < 1e-10 &&
           std::fabs(value - other.value) < 1e-10;
}

void ValueTriple::ComputeRatio()
{
    value = effectiveness > 0.0 ? cost / effectiveness : kNoRatio;
}

void ValueTriple::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteDouble(cost);
        archive.WriteDouble(effectiveness);
        archive.WriteDouble(value);
    } else {
        archive.ReadDouble(cost);
        archive.ReadDouble(effectiveness);
        archive.ReadDouble(value);
    }
}

void StoreValueTriples(Archive& archive, ValueTriple* triples, int count)
{
    for (int i = 0; i < count; ++i)
        triples[i].Serialize(archive);
}

ValueTriple* LoadValueTriples(Archive& archive, const VersionRecord& fileVersion, int count)
{
    if (count < 0)
        count = 0;
    // A count the rest of the file cannot hold is damage: refuse it before asking for its memory.
    const uint64_t storedSize = fileVersion.IsOlderThan(KnownVersion::k3_5) ? sizeof(double) : 3 * sizeof(double);
    if (static_cast<uint64_t>(count) * storedSize > archive.BytesLeft()) {
        archive.SetFormatError(1);
        return nullptr;
    }
    auto* triples = new ValueTriple[count > 0 ? count : 1]();
    if (fileVersion.IsOlderThan(KnownVersion::k3_5)) {
        std::vector<double> values(static_cast<size_t>(count), 0.0);
        if (count > 0)
            archive.Read(values.data(), sizeof(double), static_cast<uint32_t>(count));
        for (int i = 0; i < count; ++i)
            triples[i].value = archive.Failed() ? 0.0 : values[static_cast<size_t>(i)];
        return triples;
    }
    for (int i = 0; i < count; ++i)
        triples[i].Serialize(archive);
    return triples;
}
