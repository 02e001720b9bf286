#include "analysis/ThreeWaySensitivityAnalysis.h"

#include "analysis/ProbabilityVerification.h"
#include "analysis/VariableSubstitution.h"
#include "formula/RunOutcome.h"
#include "foundation/NameList.h"
#include "foundation/PresenterSlot.h"
#include "foundation/VersionRecord.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <exception>
#include <string>

namespace {

constexpr const char* kErrorCaption = "Sensitivity Error";

using Slot = PresenterSlot<ThreeWaySensitivityResults, ThreeWaySensitivityPresenter>;

}  // namespace

ThreeWaySensitivityAnalysis::ThreeWaySensitivityAnalysis(TreeNode* node, const ThreeWaySettings& settings)
    : AnalysisRun(node->document), node(node), strategies(node->childCount), newRun(1)
{
    const SensitivityAxisSettings* axes[3] = {&settings.x, &settings.y, &settings.z};
    for (int a = 0; a < 3; ++a)
        SetUpSensitivityAxis(*axes[a], sets[a], names[a]);
    xCount = sets[0].intervals + 1;
    yCount = sets[1].intervals + 1;
    zCount = sets[2].intervals + 1;
    if (!settings.checkCoherence)
        coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
}

// Items as MakeStoredRecord writes them; records up to 3.0 beta 9 end after the bindings, and only those
// from 3.5 beta 6 on hold correlated ranges.
ThreeWaySensitivityAnalysis::ThreeWaySensitivityAnalysis(TreeDocument* treeDocument, StoredAnalysis* record)
    : AnalysisRun(treeDocument), node(nullptr)
{
    caller = record;
    if (record->kind != ThreeWaySensitivityKind || record->parameters->Count() < 8) {
        stopFlag = 1;
        return;
    }
    StoredItemReader items{*record->parameters};
    const int32_t version = record->version.Key();
    int error = 0;
    node = FindNodeByPath(treeDocument->Root, items.Next()->Text());
    bool fits = node != nullptr && node->childCount > 0;
    if (fits) {
        strategies = node->childCount;
        for (zString& name : names)
            name = *items.Next();
        FormattedValue bounds[6];
        for (FormattedValue& value : bounds)
            ReadValueItem(items, error, value);
        for (SensitivityRangeSet& set : sets) {
            set.intervals = static_cast<int32_t>(ReadNumberItem(items, error));
            fits = fits && set.intervals >= 1;
        }
        for (int a = 0; a < 3 && fits && error == 0; ++a)
            fits = LoadSensitivityAxis(items, treeDocument, names[a], bounds[2 * a], bounds[2 * a + 1], sets[a]);
        fits = fits && error == 0;
        xCount = sets[0].intervals + 1;
        yCount = sets[1].intervals + 1;
        zCount = sets[2].intervals + 1;
    }
    if (fits && version > KnownVersion::k3_0_Beta9) {
        for (int a = 0; a < 3 && fits && version >= KnownVersion::k3_5_Beta6; ++a)
            fits = sets[a].LoadText(items, treeDocument, true);
        if (fits && ReadNumberItem(items, error) == 0.0 && error == 0)
            coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
        fits = fits && error == 0;
    }
    if (!fits) {
        ReportFailure(OutcomeCode::StoredStructureMismatch, nullptr, kErrorCaption, "The analysis cannot be performed. The tree structure is too different.", -1);
        stopFlag = 1;
    }
}

ThreeWaySensitivityAnalysis::~ThreeWaySensitivityAnalysis()
{
    for (SensitivityRangeSet& set : sets)
        set.RestoreAll();
}

bool ThreeWaySensitivityAnalysis::BuildBindings()
{
    for (SensitivityRangeSet& set : sets)
        CloseRangeWindows(set, document);
    for (SensitivityRangeSet& set : sets) {
        if (!CollectAndCheckDefinitions(set, node, document))
            return false;
    }
    return true;
}

bool ThreeWaySensitivityAnalysis::Begin()
{
    if (node == nullptr || stopFlag != 0 || sets[0].intervals < 1 || sets[1].intervals < 1 ||
        sets[2].intervals < 1 || (caller == nullptr && !BuildBindings())) {
        stopFlag = 1;
        return false;
    }
    const VariableRange* x = sets[0].RangeAt(0);
    const VariableRange* y = sets[1].RangeAt(0);
    bool allocated = true;
    try {
        maps.reserve(static_cast<size_t>(zCount));
        for (int z = 0; z < zCount && allocated; ++z) {
            maps.push_back(std::make_shared<StrategyRegionMap>(node, xCount, yCount, strategies, x->low.value,
                                                               x->high.value, y->low.value, y->high.value));
            allocated = maps.back()->IsAllocated();
        }
    } catch (const std::exception&) {
        allocated = false;
    }
    if (!allocated) {
        maps.clear();
        ReportFailure(OutcomeCode::NotEnoughMemory, nullptr, kErrorCaption, kNotEnoughMemoryText, -1);
        stopFlag = 1;
        return false;
    }
    strategyCounter = yStep = xStep = zStep = 0;
    Start();
    return true;
}

double ThreeWaySensitivityAnalysis::ProgressPos()
{
    if (maps.empty())
        return 0;
    return static_cast<double>(zStep) * maps[0]->CellCount() + maps[0]->CellIndex(strategyCounter, yStep, xStep);
}

// One evaluation; the first strategy of a point writes X, at the start of a row Y too, and at the first
// point of a map Z as well.
int ThreeWaySensitivityAnalysis::Step()
{
    if (stopFlag != 0)
        return 1;
    if (strategyCounter == 0) {
        sets[0].ApplyStep(xStep, &valueTexts[0]);
        if (xStep == 0) {
            sets[1].ApplyStep(yStep, &valueTexts[1]);
            if (yStep == 0)
                sets[2].ApplyStep(zStep, &valueTexts[2]);
        }
        if (coherenceGuard == nullptr)
            whenText = GridPointText(names, valueTexts, 3);
        const char* when = whenText.IsEmpty() ? nullptr : whenText.Text();
        if (CheckRiskPreference(document, when) == 0 ||
            (coherenceGuard == nullptr && VerifyProbabilities(document, 0, node, when, 0) == 0)) {
            stopFlag = 1;
            return 1;
        }
    }
    RunFault error;
    maps[zStep]->EvaluateCell(strategyCounter, yStep, xStep, node->GetChild(strategyCounter), &error);
    if (error) {
        stopFlag = 1;
        return 1;
    }
    if (++strategyCounter < strategies)
        return 0;
    strategyCounter = 0;
    if (++xStep < xCount)
        return 0;
    xStep = 0;
    if (++yStep < yCount)
        return 0;
    yStep = 0;
    if (++zStep < zCount)
        return 0;
    zStep = 0;
    return 1;
}

void ThreeWaySensitivityAnalysis::Finish()
{
    for (SensitivityRangeSet& set : sets)
        set.RestoreAll();
    ThreeWaySensitivityResults results;
    results.maps = maps;
    results.strategies = strategies;
    results.newRun = newRun != 0;
    results.title = "Sensitivity Analysis on ";
    for (int a = 0; a < 3; ++a) {
        results.labels[a] = VariableLabel(document, sets[a].RangeAt(0)->name);
        if (a > 0)
            results.subtitle += " and ";
        results.subtitle += results.labels[a];
    }
    // The swept axes name the variables correlated with theirs; the step label stays "Z = value".
    for (int a = 0; a < 2; ++a)
        results.labels[a] = sets[a].AxisTitle(document);
    const VariableRange* z = sets[2].RangeAt(0);
    results.zLow = z->low.value;
    results.zHigh = z->high.value;
    results.zStep = (z->high.value - z->low.value) / sets[2].intervals;
    results.graphTemplate = CallerTemplate();
    if (Slot::Current())
        Slot::Current()(results);
}

ThreeWaySensitivityPresenter SetThreeWaySensitivityPresenter(ThreeWaySensitivityPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

StoredAnalysis* ThreeWaySensitivityAnalysis::MakeStoredRecord()
{
    if (stopFlag != 0)
        return nullptr;
    StoredAnalysis* record = NewStoredRecordAt(ThreeWaySensitivityKind, node, 1);
    NameList& items = *record->parameters;
    for (const zString& name : names)
        items.AddCopy(name);
    for (const SensitivityRangeSet& set : sets) {
        items.AddCopy(set.RangeAt(0)->low.text);
        items.AddCopy(set.RangeAt(0)->high.text);
    }
    for (const SensitivityRangeSet& set : sets)
        AddNumberItem(items, set.intervals);
    for (const SensitivityRangeSet& set : sets)
        StoreBindingsText(set.RangeAt(0)->bindings, items);
    for (const SensitivityRangeSet& set : sets)
        set.StoreText(items, true);
    items.AddText(coherenceGuard == nullptr ? "1" : "0");
    return record;
}

void RunStoredThreeWaySensitivity(StoredAnalysis* record, TreeDocument* document)
{
    RunAnalysis(std::make_unique<ThreeWaySensitivityAnalysis>(document, record));
}

// Items: node path, X, Y and Z names, their low and high texts in pairs, their intervals.
void DescribeThreeWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    const StoredNameList& items = *record->parameters;
    auto item = [&items](int i) { return StoredItemText(items, i); };
    text = "Sens(3) on ";
    text += item(1);
    text += ", ";
    text += item(2);
    text += ", ";
    text += item(3);
    AppendAtNode(text, document, item(0));
    for (int a = 0; a < 3; ++a) {
        text += "\r\n";
        text += item(1 + a);
        text += ": ";
        text += item(4 + 2 * a);
        text += " to ";
        text += item(5 + 2 * a);
        text += "; ";
        text += item(10 + a);
        text += " Intervals";
    }
}
