#include "analysis/TornadoDiagram.h"

#include "analysis/ProbabilityVerification.h"
#include "analysis/TreeQueries.h"
#include "analysis/VariableSubstitution.h"
#include "foundation/Archive.h"
#include "formula/RunOutcome.h"
#include "foundation/NameList.h"
#include "foundation/PresenterSlot.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <exception>
#include <utility>

namespace {

constexpr const char* kErrorCaption = "Tornado Diagram";
constexpr const char* kTooDifferentText = "The analysis cannot be performed. The tree structure is too different.";

using SetupSlot = PresenterSlot<TornadoDiagram, TornadoSetupDialog>;

using Slot = PresenterSlot<TornadoResults, TornadoPresenter>;

}  // namespace

TornadoSetupDialog SetTornadoSetupDialog(TornadoSetupDialog dialog)
{
    return SetupSlot::Replace(std::move(dialog));
}

TornadoPresenter SetTornadoPresenter(TornadoPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

void TornadoPointList::StoreItem(Archive& archive, void* item)
{
    const auto* point = static_cast<ThresholdPoint*>(item);
    archive.WriteShort(point->first).WriteShort(point->second).WriteDouble(point->x).WriteDouble(point->value);
}

void* TornadoPointList::LoadItem(Archive& archive)
{
    auto* point = new ThresholdPoint;
    archive.ReadShort(point->first).ReadShort(point->second).ReadDouble(point->x).ReadDouble(point->value);
    return point;
}

// Stored bar, by the version of the stream:
//   version record (3 bytes)
//   3.5 beta 6 and later:  low result, high result (doubles); points (PtrArray form); value count (16-bit);
//                          bar name (stored string); the values (doubles); the ranges (SensitivityRangeSet)
//   older:                 main range low and high, low result, high result (doubles); bar name;
//                          from 2.6 beta 4: points, value count, values; after 3.0 beta 2: variable name
//                          (before 2.6 beta 4 the bar name is the variable name; between those versions the
//                          bar name stands in for it too). The one range has those ends with empty texts.
void TornadoSetup::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(lowResult).WriteDouble(highResult);
        points.Serialize(archive);
        archive.WriteShort(static_cast<int16_t>(values.size()));
        StoreString(archive, barName);
        for (double value : values)
            archive.WriteDouble(value);
        ranges.Serialize(archive);
        return;
    }
    const int32_t stream = archive.FileVersion() != 0 ? static_cast<int32_t>(archive.FileVersion()) : version.Key();
    auto readValues = [&] {
        int16_t count = 0;
        archive.ReadShort(count);
        values.assign(count > 0 ? static_cast<size_t>(count) : 0, 0.0);
        return count;
    };
    if (stream >= KnownVersion::k3_5_Beta6) {
        archive.ReadDouble(lowResult).ReadDouble(highResult);
        points.Serialize(archive);
        readValues();
        LoadString(archive, barName);
        for (double& value : values)
            archive.ReadDouble(value);
        ranges.Serialize(archive);
        return;
    }
    FormattedValue low;
    FormattedValue high;
    archive.ReadDouble(low.value).ReadDouble(high.value).ReadDouble(lowResult).ReadDouble(highResult);
    LoadString(archive, barName);
    zString variable = barName;
    if (stream >= KnownVersion::k2_6_Beta4) {
        points.Serialize(archive);
        readValues();
        for (double& value : values)
            archive.ReadDouble(value);
        if (stream > KnownVersion::k3_0_Beta2)
            LoadString(archive, variable);
    }
    if (!archive.Failed())
        ranges.Add(new VariableRange(variable, low, high));
}

void* TornadoVariableList::LoadItem(Archive& archive)
{
    auto* bar = new TornadoSetup;
    bar->Serialize(archive);
    return bar;
}

int TornadoVariableList::InsertBySpread(TornadoSetup* bar)
{
    int position = 0;
    while (position < Count() && At(position)->Span() > bar->Span())
        ++position;
    InsertAt(position, bar);
    return position;
}

zString TornadoVariableList::RangeText(int i) const
{
    zString text;
    if (i < 0 || i >= Count() || At(i)->ranges.Count() == 0)
        return text;
    const VariableRange* range = At(i)->ranges.RangeAt(0);
    text = range->low.text;
    text += " to ";
    text += range->high.text;
    return text;
}

TornadoDiagram::TornadoDiagram(TreeDocument* document, TreeNode* node)
    : AnalysisRun(document), node(node), bars(std::make_shared<TornadoVariableList>())
{
}

// Items as MakeStoredRecord writes them; the bars' forms and the trailing flags depend on the record's version.
TornadoDiagram::TornadoDiagram(TreeDocument* document, StoredAnalysis* record)
    : AnalysisRun(document), node(nullptr), bars(std::make_shared<TornadoVariableList>())
{
    caller = record;
    if (record->kind != TornadoKind || record->parameters == nullptr || record->parameters->Count() < 6) {
        stopFlag = 1;
        return;
    }
    StoredItemReader items{*record->parameters};
    const int32_t version = record->version.Key();
    int error = 0;
    node = FindNodeByPath(document->Root, items.Next()->Text());
    bool fits = node != nullptr;
    if (fits) {
        thisNodeOnly = node->IsDecision() ? 0 : 1;
        intervals = static_cast<int32_t>(ReadNumberItem(items, error));
        const int32_t count = static_cast<int32_t>(ReadNumberItem(items, error));
        fits = error == 0 && intervals >= 1 && count >= 1 && count <= record->parameters->Count();
        for (int32_t b = 0; fits && b < count; ++b)
            fits = LoadBar(items, version);
    }
    if (fits && version > KnownVersion::k3_0_Beta2) {
        checking = static_cast<int32_t>(ReadNumberItem(items, error));
        measureKind = static_cast<int32_t>(ReadNumberItem(items, error));
        thisNodeOnly = static_cast<int32_t>(ReadNumberItem(items, error));
        fits = error == 0;
    }
    if (fits && thisNodeOnly == 0 && node->childCount < 1)
        fits = false;
    if (!fits) {
        ReportFailure(OutcomeCode::StoredStructureMismatch, nullptr, kErrorCaption, kTooDifferentText, -1);
        stopFlag = 1;
        return;
    }
    seriesCount = thisNodeOnly != 0 ? 1 : node->childCount;
    barCount = bars->Count();
}

bool TornadoDiagram::LoadBar(StoredItemReader& items, int32_t version)
{
    auto* bar = new TornadoSetup;
    bars->Add(bar);
    bar->ranges.intervals = intervals;
    const zString* name = items.Next();
    if (name == nullptr)
        return false;
    if (version >= KnownVersion::k3_5_Beta6) {
        bar->barName = *name;
        return bar->ranges.LoadText(items, document, false);
    }
    bar->barName = *name;
    if (version > KnownVersion::k3_0_Beta2) {
        const zString* barName = items.Next();
        if (barName == nullptr)
            return false;
        bar->barName = *barName;
    }
    int error = 0;
    FormattedValue low;
    FormattedValue high;
    low.value = ReadNumberItem(items, error);
    high.value = ReadNumberItem(items, error);
    if (error != 0)
        return false;
    auto* range = new VariableRange(*name, low, high);
    bar->ranges.Add(range);
    return LoadBindingsText(range->bindings, items, document, range->name);
}

TornadoDiagram::~TornadoDiagram()
{
    for (int b = 0; b < bars->Count(); ++b)
        bars->At(b)->ranges.RestoreAll();
}

zString& TornadoDiagram::StatusText(zString& out)
{
    out = "The tornado diagram is being prepared.";
    return out;
}

bool TornadoDiagram::BuildBindings()
{
    // A set-up that checked the ranges already collected their definitions.
    for (int b = 0; b < bars->Count(); ++b)
        CloseRangeWindows(bars->At(b)->ranges, document);
    for (int b = 0; b < bars->Count(); ++b) {
        if (!CollectAndCheckDefinitions(bars->At(b)->ranges, node, document))
            return false;
    }
    return true;
}

bool TornadoDiagram::Stop()
{
    stopFlag = 1;
    return false;
}

bool TornadoDiagram::Begin()
{
    if (node == nullptr || stopFlag != 0)
        return Stop();
    if (intervals < 1) {
        TornadoSetupRequest request;
        request.document = document;
        request.node = node;
        request.bars = bars.get();
        request.intervals = 1;
        bool set = false;
        if (SetupSlot::Current()) {
            OutcomeScopePause dialog;
            set = SetupSlot::Current()(request);
        }
        if (!set || request.intervals < 1)
            return Stop();
        intervals = request.intervals;
        checking = request.checking;
        thisNodeOnly = request.thisNodeOnly;
        measureKind = 0;
        if (thisNodeOnly == 0 && node->childCount < 1)
            thisNodeOnly = 1;
        seriesCount = thisNodeOnly != 0 ? 1 : node->childCount;
        barCount = bars->Count();
        if (barCount == 0 || !BuildBindings())
            return Stop();
    }
    for (int b = 0; b < barCount; ++b)
        bars->At(b)->ranges.intervals = intervals;
    try {
        results.assign(static_cast<size_t>(ResultIndex(0, 0, barCount)), 0.0);
    } catch (const std::exception&) {
        ReportFailure(OutcomeCode::NotEnoughMemory, nullptr, kErrorCaption, kNotEnoughMemoryText, -1);
        return Stop();
    }
    step = barIndex = seriesIndex = 0;
    Start();
    return true;
}

// One evaluation: the current series at the current step of the current bar; the first series of a step
// writes the step's values and checks the tree there.
int TornadoDiagram::Step()
{
    if (stopFlag != 0)
        return 1;
    SensitivityRangeSet& ranges = bars->At(barIndex)->ranges;
    if (seriesIndex == 0) {
        zString valueText;
        ranges.ApplyStep(step, &valueText);
        whenText.Clear();
        if (checking != 0) {
            whenText = "When:\n";
            whenText += ranges.RangeAt(0)->name;
            whenText += " = ";
            whenText += valueText;
        }
        const char* when = whenText.IsEmpty() ? nullptr : whenText.Text();
        if (CheckRiskPreference(document, when) == 0 ||
            (checking != 0 && VerifyProbabilities(document, 0, node, when, 0) == 0)) {
            stopFlag = 1;
            return 1;
        }
    }
    RunFault error;
    TreeNode* evaluated = thisNodeOnly != 0 ? node : node->GetChild(seriesIndex);
    results[static_cast<size_t>(ResultIndex(seriesIndex, step, barIndex))] =
        ComputeNodeMeasure(evaluated, &error, measureKind);
    if (error) {
        stopFlag = 1;
        return 1;
    }
    if (++seriesIndex < seriesCount)
        return 0;
    seriesIndex = 0;
    if (++step <= intervals)
        return 0;
    step = 0;
    ranges.RestoreAll();
    if (++barIndex < barCount)
        return 0;
    barIndex = 0;
    return 1;
}

void TornadoDiagram::Finish()
{
    double low = 0.0;
    double high = 0.0;
    {
        HostWaitCursor wait;
        for (int b = 0; b < barCount; ++b) {
            TornadoSetup* bar = bars->At(b);
            bar->values.assign(static_cast<size_t>(seriesCount) * (intervals + 1), 0.0);
            for (int s = 0; s < seriesCount; ++s)
                for (int t = 0; t <= intervals; ++t)
                    bar->values[static_cast<size_t>(s) * (intervals + 1) + t] = results[ResultIndex(s, t, b)];
            const VariableRange* main = bar->ranges.RangeAt(0);
            SensitivityResultGrid grid(node, intervals, seriesCount, main->low.value, main->high.value);
            for (int t = 0; t <= intervals; ++t) {
                double best = results[ResultIndex(0, t, b)];
                for (int s = 0; s < seriesCount; ++s) {
                    const double result = results[ResultIndex(s, t, b)];
                    *grid.ThirdAt(s, t) = result;
                    if (s > 0)
                        best = document->BetterValue(node, result, best);
                }
                if (t == 0)
                    bar->lowResult = bar->highResult = best;
                else if (best < bar->lowResult)
                    bar->lowResult = best;
                else if (best > bar->highResult)
                    bar->highResult = best;
            }
            bar->points.DeleteAll();
            if (seriesCount > 1)
                grid.FindOptimalChanges(bar->points, -1, 0);
            if (b == 0 || bar->lowResult < low)
                low = bar->lowResult;
            if (b == 0 || bar->highResult > high)
                high = bar->highResult;
        }
        if (high - low < 1e-10)
            high += 0.1;
        setupOrder.clear();
        for (int b = 0; b < bars->Count(); ++b)
            setupOrder.push_back(bars->At(b));
        bars->RemoveAll();
        for (TornadoSetup* bar : setupOrder)
            bars->InsertBySpread(bar);
    }
    TornadoResults shown;
    shown.node = node;
    shown.thisNodeOnly = thisNodeOnly != 0;
    shown.low = low;
    shown.high = high;
    shown.intervals = intervals;
    shown.label = document->CalcPrefs.UseUtility != 0 ? "Expected Value (Risk-adjusted)" : "Expected Value";
    shown.bars = bars;
    shown.graphTemplate = CallerTemplate();
    if (Slot::Current())
        Slot::Current()(shown);
}

StoredAnalysis* TornadoDiagram::MakeStoredRecord()
{
    if (stopFlag != 0)
        return nullptr;
    StoredAnalysis* record = NewStoredRecordAt(TornadoKind, node, 1);
    NameList& items = *record->parameters;
    AddNumberItem(items, intervals);
    AddNumberItem(items, barCount);
    // In the order of the set-up, so that a re-run orders bars of equal span as this run did.
    for (const TornadoSetup* bar : setupOrder) {
        items.AddCopy(bar->barName);
        bar->ranges.StoreText(items, false);
    }
    AddNumberItem(items, checking);
    AddNumberItem(items, measureKind);
    AddNumberItem(items, thisNodeOnly);
    return record;
}

void RunStoredTornadoDiagram(StoredAnalysis* record, TreeDocument* document)
{
    RunAnalysis(std::make_unique<TornadoDiagram>(document, record));
}

void DescribeTornadoDiagram(TreeDocument*, StoredAnalysis*, zString& text)
{
    text = "Tornado Diagram";
}
