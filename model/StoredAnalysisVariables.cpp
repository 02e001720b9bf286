#include "model/StoredAnalysisVariables.h"

#include "model/StoredAnalysis.h"
#include "foundation/StringHelpers.h"
#include "foundation/VersionRecord.h"
#include "model/TreeDocument.h"

#include <cstdlib>

namespace {

using namespace KnownVersion;

const char* const kRiskPreferenceItem = "$$ Risk Pref $$";
const char* const kRiskCoefficientName = "Risk Preference Coeff.";

// Walks a record's text list item by item; once the list has ended every read fails.
class ItemWalk {
public:
    ItemWalk(const StoredNameList& list, std::vector<StoredNameItem>& found) : list(list), found(found) {}

    bool Ok() const { return ok; }
    const zString* Next()
    {
        if (!ok || position >= list.Count()) {
            ok = false;
            return nullptr;
        }
        return list.At(position++);
    }
    void Skip(int count)
    {
        for (int i = 0; i < count; ++i)
            Next();
    }
    int Number()
    {
        const zString* item = Next();
        return item != nullptr ? static_cast<int>(std::strtol(item->Text(), nullptr, 10)) : 0;
    }
    void Name(bool isBarName = false)
    {
        const int index = position;
        if (Next() != nullptr)
            found.push_back({index, isBarName});
    }

    // Bindings in text form: a count, then per entry "$$ Risk Pref $$" alone or a node path and the node's
    // display text.
    void SkipBindings()
    {
        const int count = Number();
        for (int i = 0; i < count && ok; ++i) {
            const zString* item = Next();
            if (item != nullptr && !(*item == kRiskPreferenceItem))
                Next();
        }
    }

    // A range set in text form: the whole count, then from the first range listed on each range's name,
    // low, high and bindings.
    void RangeSet(bool skipFirst)
    {
        const int count = Number();
        for (int i = skipFirst ? 1 : 0; i < count && ok; ++i) {
            Name();
            Skip(2);
            SkipBindings();
        }
    }

private:
    const StoredNameList& list;
    std::vector<StoredNameItem>& found;
    int position = 0;
    bool ok = true;
};

// One-way sensitivity: path, name, low, high, intervals, [cost-effectiveness flag from 3.5], bindings,
// [correlated ranges after 3.5 beta 2], flags.
void OneWayItems(ItemWalk& walk, const VersionRecord& version)
{
    walk.Skip(1);
    walk.Name();
    walk.Skip(3);
    if (version.IsAtLeast(k3_5))
        walk.Skip(1);
    walk.SkipBindings();
    if (version.IsNewerThan(k3_5_Beta2))
        walk.RangeSet(true);
}

// Two- and three-way sensitivity: path, the axes' names, their low and high texts, their intervals, their
// bindings, then, from the version that added them, their correlated ranges.
void MultiWayItems(ItemWalk& walk, int axes, bool withCorrelated)
{
    walk.Skip(1);
    for (int i = 0; i < axes; ++i)
        walk.Name();
    walk.Skip(3 * axes);
    for (int i = 0; i < axes; ++i)
        walk.SkipBindings();
    if (!withCorrelated)
        return;
    for (int i = 0; i < axes; ++i)
        walk.RangeSet(true);
}

// Tornado: path, intervals, bar count, then per bar its name and all its ranges (from 3.5 beta 6), or in
// older records the variable's name, [the bar name after 3.0 beta 2], low, high and bindings.
void TornadoItems(ItemWalk& walk, const VersionRecord& version)
{
    walk.Skip(2);
    const int bars = walk.Number();
    for (int bar = 0; bar < bars && walk.Ok(); ++bar) {
        if (version.IsAtLeast(k3_5_Beta6)) {
            walk.Name(true);
            walk.RangeSet(false);
            continue;
        }
        walk.Name();
        if (version.IsNewerThan(k3_0_Beta2))
            walk.Name(true);
        walk.Skip(2);
        walk.SkipBindings();
    }
}

}  // namespace

void ListStoredNameItems(const StoredAnalysis& record, std::vector<StoredNameItem>& items)
{
    if (record.parameters == nullptr)
        return;
    ItemWalk walk(*record.parameters, items);
    const VersionRecord& version = record.version;
    switch (record.kind) {
    case OneWaySensitivityKind:
        OneWayItems(walk, version);
        break;
    case TwoWaySensitivityKind:
        MultiWayItems(walk, 2, version.IsAtLeast(k3_5_Beta2));
        break;
    case ThreeWaySensitivityKind:
        MultiWayItems(walk, 3, version.IsNewerThan(k3_0_Beta9) && version.IsAtLeast(k3_5_Beta6));
        break;
    case TornadoKind:
        TornadoItems(walk, version);
        break;
    default:
        break;
    }
}

// A name item holds one name, so it is renamed only when it is that name as a whole: a whole-word
// replacement would also change a tornado group name or "Risk Preference Coeff." that merely contain it.
int RenameVariableInStoredAnalysis(StoredAnalysis& record, const char* oldName, const char* newName)
{
    std::vector<StoredNameItem> items;
    ListStoredNameItems(record, items);
    const zString oldText(oldName);
    int changed = 0;
    for (const StoredNameItem& item : items) {
        zString* text = record.parameters->At(item.index);
        if (text == nullptr || !EqualsNoCase(*text, oldText))
            continue;
        *text = newName;
        ++changed;
    }
    return changed;
}

bool FindMissingStoredVariable(const StoredAnalysis& record, const TreeDocument& document, zString& missing)
{
    std::vector<StoredNameItem> items;
    ListStoredNameItems(record, items);
    const zString riskCoefficient(kRiskCoefficientName);
    for (const StoredNameItem& item : items) {
        const zString* name = record.parameters->At(item.index);
        if (item.isBarName || name == nullptr || EqualsNoCase(*name, riskCoefficient))
            continue;
        if (document.FindVariable(name->Text(), false) == nullptr) {
            missing = *name;
            return true;
        }
    }
    return false;
}
