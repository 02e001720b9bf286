#include "analysis/SensitivityRangeSet.h"

#include "analysis/VariableSubstitution.h"
#include "foundation/Archive.h"
#include "foundation/NameList.h"
#include "model/VariableDefinition.h"

#include <string>

void SensitivityRangeSet::Add(VariableRange* range)
{
    if (!ranges.Add(range))
        delete range;
}

void SensitivityRangeSet::ApplyStep(int i, zString* text)
{
    for (int r = 0; r < ranges.Count(); ++r)
        ranges.At(r)->ApplyStep(i, intervals, r == 0 ? text : nullptr);
}

void SensitivityRangeSet::RestoreAll()
{
    for (int r = 0; r < ranges.Count(); ++r)
        ranges.At(r)->Restore();
}

zString SensitivityRangeSet::FormatBracketLabel(int i) const
{
    zString description;
    ranges.At(i)->Describe(description);
    zString label = "[";
    label += ranges.At(i)->name;
    label += ":  ";
    label += description;
    label += "]";
    return label;
}

zString SensitivityRangeSet::AxisTitle(const TreeDocument* document) const
{
    zString title = VariableLabel(document, ranges.At(0)->name);
    for (int r = 1; r < ranges.Count(); ++r) {
        title += " ";
        title += FormatBracketLabel(r);
    }
    return title;
}

void SensitivityRangeSet::Assign(const SensitivityRangeSet& other)
{
    intervals = other.intervals;
    ranges.DeleteAll();
    for (int r = 0; r < other.Count(); ++r) {
        const VariableRange* source = other.RangeAt(r);
        auto* range = new VariableRange(source->name, source->low, source->high);
        for (int b = 0; b < source->bindings.Count(); ++b) {
            RangeBinding* entry = new RangeBinding(*source->bindings.At(b));
            if (entry->definition != nullptr)
                entry->savedText = entry->definition->definition.Text();
            if (!range->bindings.Add(entry))
                delete entry;
        }
        Add(range);
    }
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

void SensitivityRangeSet::StoreText(NameList& items, bool skipFirst) const
{
    AddNumberItem(items, Count());
    for (int i = skipFirst ? 1 : 0; i < Count(); ++i) {
        const VariableRange* range = RangeAt(i);
        items.AddCopy(range->name);
        items.AddCopy(range->low.text);
        items.AddCopy(range->high.text);
        StoreBindingsText(range->bindings, items);
    }
}

bool SensitivityRangeSet::LoadText(StoredItemReader& items, TreeDocument* document, bool skipFirst)
{
    int error = 0;
    const int count = static_cast<int>(ReadNumberItem(items, error));
    for (int i = skipFirst ? 1 : 0; i < count && error == 0; ++i) {
        const zString* name = items.Next();
        if (name == nullptr)
            return false;
        FormattedValue low;
        FormattedValue high;
        ReadValueItem(items, error, low);
        ReadValueItem(items, error, high);
        if (error != 0)
            return false;
        auto* range = new VariableRange(*name, low, high);
        Add(range);
        if (!LoadBindingsText(range->bindings, items, document, range->name))
            return false;
    }
    return error == 0;
}
