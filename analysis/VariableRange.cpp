#include "analysis/VariableRange.h"

#include "analysis/VariableSubstitution.h"

#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
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

double VariableRange::StepValue(int i, int n) const
{
    return low.value + i * ((high.value - low.value) / n);
}

void VariableRange::ApplyStep(int i, int n, zString* text)
{
    double value = StepValue(i, n);
    zString valueText;
    AppendFormattedNumber(valueText, value, -9);
    SetBindings(bindings, value, valueText.Text());
    if (text != nullptr)
        *text = valueText;
}

void VariableRange::Restore()
{
    RestoreBindings(bindings);
}

void VariableRange::Describe(zString& out) const
{
    out = low.text;
    if (mode == 0) {
        out += " .. ";
        out += high.text;
        return;
    }
    out += " +/- ";
    out += tolerance.text;
    out += "%";
}
