#include "formula/LookupTable.h"

#include "formula/NameResolution.h"
#include "formula/RunOutcome.h"

#include "foundation/UniformRandom.h"

#include <cmath>

LookupTable::LookupTable() = default;

LookupTable::LookupTable(const LookupTable& source)
    : name(source.name),
      key(source.key),
      comment(source.comment),
      method(source.method),
      loaded(source.loaded),
      offEdgeIsError(source.offEdgeIsError)
{
    entries.Copy(source.entries, true);
}

void LookupTable::SetName(const char* text)
{
    name = text;
    key = text;
    key.MakeUpper();
    InvalidateTableResolution();
}

void LookupTable::SetMethod(int32_t value)
{
    method = value;
    ClearCaches();
}

void LookupTable::SetOffEdgeIsError(bool on)
{
    offEdgeIsError = on ? 1 : 0;
    ClearCaches();
}

void LookupTable::ClearCaches()
{
    InvalidateTableContents();
    lookupCached = 0;
    medianCached = 0;
}

void LookupTable::LoadIfNeeded()
{
    if (!loaded)
        Load();
}

int LookupTable::EntryCount()
{
    LoadIfNeeded();
    return entries.Count();
}

bool LookupTable::GetEntry(int i, double& index, double& value)
{
    LoadIfNeeded();
    const TableEntry* entry = entries.EntryAt(i);
    if (!entry)
        return false;
    index = entry->index;
    value = entry->value;
    return true;
}

int LookupTable::SetEntry(double index, double value)
{
    ClearCaches();
    LoadIfNeeded();
    const int existing = FindExact(index);
    if (existing >= 0) {
        entries.EntryAt(existing)->value = value;
        return existing;
    }
    auto* entry = new TableEntry{index, value};
    const int position = entries.InsertSorted(entry);
    if (position < 0)
        delete entry;
    return position;
}

void LookupTable::RemoveEntryAt(int i)
{
    ClearCaches();
    if (entries.IsValidIndex(i))
        entries.DeleteAt(i);
}

void LookupTable::RemoveAllEntries()
{
    ClearCaches();
    entries.Clear();
}

void LookupTable::ReplaceEntries(const LookupTable& source)
{
    if (&source == this)
        return;
    ClearCaches();
    entries.Clear();
    entries.Copy(source.entries, true);
}

void LookupTable::GetIndexRange(double& first, double& last) const
{
    if (entries.IsEmpty())
        return;
    first = entries.EntryAt(0)->index;
    last = entries.EntryAt(entries.Count() - 1)->index;
}

void LookupTable::GetValueRange(double& minimum, double& maximum) const
{
    if (entries.IsEmpty())
        return;
    minimum = maximum = entries.EntryAt(0)->value;
    for (int i = 1; i < entries.Count(); ++i) {
        const double value = entries.EntryAt(i)->value;
        if (value < minimum)
            minimum = value;
        if (value > maximum)
            maximum = value;
    }
}

int LookupTable::FindPosition(double x) const
{
    const int count = entries.Count();
    if (count == 0 || x < entries.EntryAt(0)->index)
        return -1;
    const int last = count - 1;
    if (x >= entries.EntryAt(last)->index)
        return last;
    int lo = 0;
    int hi = last;
    while (lo < hi - 1) {
        const int mid = (lo + hi) / 2;
        const double difference = x - entries.EntryAt(mid)->index;
        if (std::fabs(difference) < kIndexTolerance)
            return mid;
        if (difference < 0)
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

int LookupTable::FindExact(double x) const
{
    const int position = FindPosition(x);
    if (position >= 0 && std::fabs(entries.EntryAt(position)->index - x) < kIndexTolerance)
        return position;
    return -1;
}

double LookupTable::Lookup(double x, RunFault* fault)
{
    if (lookupCached && std::fabs(x - cachedIndex) < kIndexTolerance)
        return cachedValue;
    LoadIfNeeded();
    bool failed = false;
    double result = 0.0;
    const int count = entries.Count();
    const int32_t how = method == 0 ? Interpolation : method;
    if (how == Truncation || how == Interpolation) {
        if (count == 0) {
            failed = true;
        } else if (offEdgeIsError && (x < entries.EntryAt(0)->index || x > entries.EntryAt(count - 1)->index)) {
            failed = true;
        } else {
            int p = FindPosition(x);
            if (p < 0)
                p = 0;
            const TableEntry* here = entries.EntryAt(p);
            result = here->value;
            if (how == Interpolation && here->index < x && p < count - 1) {
                const TableEntry* next = entries.EntryAt(p + 1);
                result = here->value + (next->value - here->value) * (x - here->index) / (next->index - here->index);
            }
        }
    } else if (how == IndexSpecific) {
        const int p = FindExact(x);
        if (p < 0)
            failed = true;
        else
            result = entries.EntryAt(p)->value;
    } else {
        failed = true;
    }
    if (failed) {
        if (fault)
            fault->Set(OutcomeCode::TableLookupFailed);
        lookupCached = 0;
        return 0.0;
    }
    lookupCached = 1;
    cachedIndex = x;
    cachedValue = result;
    return result;
}

double LookupTable::SumRange(double a, double b)
{
    LoadIfNeeded();
    double sum = 0.0;
    for (int i = 0; i < entries.Count(); ++i) {
        const TableEntry* entry = entries.EntryAt(i);
        if (entry->index > b)
            break;
        if (entry->index >= a)
            sum += entry->value;
    }
    return sum;
}

double LookupTable::InverseCumulative(double p, RunFault* fault)
{
    LoadIfNeeded();
    double sum = 0.0;
    const int count = entries.Count();
    for (int i = 0; i < count; ++i) {
        sum += entries.EntryAt(i)->value;
        if (sum >= p)
            return entries.EntryAt(i)->index;
    }
    if (count > 0 && p - sum <= 1e-6)
        return entries.EntryAt(count - 1)->index;
    if (fault)
        fault->Set(OutcomeCode::DistributionTableIncomplete);
    return 0.0;
}

double LookupTable::Median(RunFault* fault)
{
    if (medianCached)
        return median;
    RunFault failed;
    const double result = InverseCumulative(0.5, &failed);
    if (failed) {
        if (fault)
            fault->Set(failed.Code());
        return 0.0;
    }
    median = result;
    medianCached = 1;
    return result;
}

double LookupTable::SampleIndex(RunFault* fault) { return InverseCumulative(UniformRandom(0.0, 1.0), fault); }
