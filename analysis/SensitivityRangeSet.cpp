#include "analysis/SensitivityRangeSet.h"

#include "foundation/Archive.h"

void SensitivityRangeSet::Add(VariableRange* range)
{
    if (!ranges.Add(range))
        delete range;
}

// Stored form:
//   intervals      4 bytes
//   range count    2 bytes
//   each range     VariableRange stored form
// A negative count is format error 30; a range cut short by the stream is not kept.
void SensitivityRangeSet::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteLong(intervals);
        archive.WriteShort(ranges.Count());
        for (int i = 0; i < ranges.Count(); ++i)
            ranges.At(i)->Serialize(archive);
        return;
    }
    if (archive.HasFormatError())
        return;
    ranges.DeleteAll();
    int16_t count = 0;
    archive.ReadLong(intervals);
    archive.ReadShort(count);
    if (count < 0) {
        archive.SetFormatError(Archive::FormatListMarkerOrCount);
        return;
    }
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        auto* range = new VariableRange;
        range->Serialize(archive);
        if (archive.Failed()) {
            delete range;
            break;
        }
        Add(range);
    }
}
