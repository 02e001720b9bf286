#include "analysis/TwoWaySensitivityAnalysis.h"

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

#include <string>

namespace {

constexpr const char* kErrorCaption = "Sensitivity Error";

using Slot = PresenterSlot<TwoWaySensitivityResults, TwoWaySensitivityPresenter>;

}  // namespace

void SetUpSensitivityAxis(const SensitivityAxisSettings& axis, SensitivityRangeSet& set, zString& name)
{
    set.intervals = axis.intervals;
    set.Add(new VariableRange(axis.variable, axis.low, axis.high));
    name = axis.variable;
    name.MakeUpper();
}

bool LoadSensitivityAxis(StoredItemReader& items, TreeDocument* document, const zString& name, const FormattedValue& low,
                         const FormattedValue& high, SensitivityRangeSet& set)
{
    auto* range = new VariableRange(name, low, high);
    set.Add(range);
    return LoadBindingsText(range->bindings, items, document, name);
}

zString GridPointText(const zString* names, const zString* values, int count)
{
    zString text("When:\n");
    for (int a = 0; a < count; ++a) {
        if (a > 0)
            text += "\r\n";
        text += names[a];
        text += " = ";
        text += values[a];
    }
    return text;
}

TwoWaySensitivityAnalysis::TwoWaySensitivityAnalysis(TreeNode* node, const TwoWaySettings& settings)
    : AnalysisRun(node->document), node(node), strategies(node->childCount), newRun(1)
{
    SetUpSensitivityAxis(settings.x, xSet, xName);
    SetUpSensitivityAxis(settings.y, ySet, yName);
    xCount = xSet.intervals + 1;
    yCount = ySet.intervals + 1;
    if (!settings.checkCoherence)
        coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
}

// Items as MakeStoredRecord writes them; records before 3.0 beta 2 end after the bindings, and only those
// after 3.5 beta 2 hold correlated ranges.
TwoWaySensitivityAnalysis::TwoWaySensitivityAnalysis(TreeDocument* treeDocument, StoredAnalysis* record)
    : AnalysisRun(treeDocument), node(nullptr)
{
    caller = record;
    if (record->kind != TwoWaySensitivityKind || record->parameters->Count() < 8) {
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
        xName = *items.Next();
        yName = *items.Next();
        FormattedValue xLow, xHigh, yLow, yHigh;
        for (FormattedValue* value : {&xLow, &xHigh, &yLow, &yHigh})
            ReadValueItem(items, error, *value);
        xSet.intervals = static_cast<int32_t>(ReadNumberItem(items, error));
        ySet.intervals = static_cast<int32_t>(ReadNumberItem(items, error));
        xCount = xSet.intervals + 1;
        yCount = ySet.intervals + 1;
        fits = error == 0 && xSet.intervals >= 1 && ySet.intervals >= 1 &&
               LoadSensitivityAxis(items, treeDocument, xName, xLow, xHigh, xSet) &&
               LoadSensitivityAxis(items, treeDocument, yName, yLow, yHigh, ySet);
    }
    if (fits && version >= KnownVersion::k3_0_Beta2) {
        if (version >= KnownVersion::k3_5_Beta2)
            fits = xSet.LoadText(items, treeDocument, true) && ySet.LoadText(items, treeDocument, true);
        if (fits && ReadNumberItem(items, error) == 0.0 && error == 0)
            coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
        fits = fits && error == 0;
    }
    if (!fits) {
        ReportFailure(OutcomeCode::StoredStructureMismatch, nullptr, kErrorCaption, "The analysis cannot be performed. The tree structure is too different.", -1);
        stopFlag = 1;
    }
}

TwoWaySensitivityAnalysis::~TwoWaySensitivityAnalysis()
{
    xSet.RestoreAll();
    ySet.RestoreAll();
}

bool TwoWaySensitivityAnalysis::BuildBindings()
{
    CloseRangeWindows(xSet, document);
    CloseRangeWindows(ySet, document);
    return CollectAndCheckDefinitions(xSet, node, document) && CollectAndCheckDefinitions(ySet, node, document);
}

bool TwoWaySensitivityAnalysis::Begin()
{
    if (node == nullptr || stopFlag != 0 || xSet.intervals < 1 || ySet.intervals < 1 ||
        (caller == nullptr && !BuildBindings())) {
        stopFlag = 1;
        return false;
    }
    const VariableRange* x = xSet.RangeAt(0);
    const VariableRange* y = ySet.RangeAt(0);
    map = std::make_unique<StrategyRegionMap>(node, xCount, yCount, strategies, x->low.value, x->high.value,
                                              y->low.value, y->high.value);
    if (!map->IsAllocated()) {
        ReportFailure(OutcomeCode::NotEnoughMemory, nullptr, kErrorCaption, kNotEnoughMemoryText, -1);
        stopFlag = 1;
        return false;
    }
    strategyCounter = yStep = xStep = 0;
    Start();
    return true;
}

// One evaluation: the current strategy at the current grid point; the first strategy of a point writes the
// point's values (Y only at the start of a row) and checks the tree there.
int TwoWaySensitivityAnalysis::Step()
{
    if (stopFlag != 0)
        return 1;
    if (strategyCounter == 0) {
        xSet.ApplyStep(xStep, &xValueText);
        if (xStep == 0)
            ySet.ApplyStep(yStep, &yValueText);
        if (coherenceGuard == nullptr) {
            const zString names[] = {xName, yName};
            const zString values[] = {xValueText, yValueText};
            whenText = GridPointText(names, values, 2);
        }
        const char* when = whenText.IsEmpty() ? nullptr : whenText.Text();
        if (CheckRiskPreference(document, when) == 0 ||
            (coherenceGuard == nullptr && VerifyProbabilities(document, 0, node, when, 0) == 0)) {
            stopFlag = 1;
            return 1;
        }
    }
    RunFault error;
    map->EvaluateCell(strategyCounter, yStep, xStep, node->GetChild(strategyCounter), &error);
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
    return 1;
}

void TwoWaySensitivityAnalysis::Finish()
{
    xSet.RestoreAll();
    ySet.RestoreAll();
    TwoWaySensitivityResults results;
    results.strategies = strategies;
    results.newRun = newRun != 0;
    results.title = "Sensitivity Analysis on ";
    results.subtitle = VariableLabel(document, xSet.RangeAt(0)->name);
    results.subtitle += " and ";
    results.subtitle += VariableLabel(document, ySet.RangeAt(0)->name);
    results.xLabel = xSet.AxisTitle(document);
    results.yLabel = ySet.AxisTitle(document);
    results.map.reset(map.release());
    results.graphTemplate = CallerTemplate();
    if (Slot::Current())
        Slot::Current()(results);
}

TwoWaySensitivityPresenter SetTwoWaySensitivityPresenter(TwoWaySensitivityPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

StoredAnalysis* TwoWaySensitivityAnalysis::MakeStoredRecord()
{
    if (stopFlag != 0)
        return nullptr;
    StoredAnalysis* record = NewStoredRecordAt(TwoWaySensitivityKind, node, 1);
    NameList& items = *record->parameters;
    const VariableRange* x = xSet.RangeAt(0);
    const VariableRange* y = ySet.RangeAt(0);
    items.AddCopy(xName);
    items.AddCopy(yName);
    for (const zString* value : {&x->low.text, &x->high.text, &y->low.text, &y->high.text})
        items.AddCopy(*value);
    AddNumberItem(items, xSet.intervals);
    AddNumberItem(items, ySet.intervals);
    StoreBindingsText(x->bindings, items);
    StoreBindingsText(y->bindings, items);
    xSet.StoreText(items, true);
    ySet.StoreText(items, true);
    items.AddText(coherenceGuard == nullptr ? "1" : "0");
    return record;
}

void RunStoredTwoWaySensitivity(StoredAnalysis* record, TreeDocument* document)
{
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(document, record));
}

// Items: node path, X and Y names, X low and high, Y low and high, X and Y intervals.
void DescribeTwoWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    const StoredNameList& items = *record->parameters;
    auto item = [&items](int i) { return StoredItemText(items, i); };
    text = "Sens(2) on ";
    text += item(1);
    text += " and ";
    text += item(2);
    AppendAtNode(text, document, item(0));
    text += "\r\n";
    for (int axis = 0; axis < 2; ++axis) {
        text += item(1 + axis);
        text += ": ";
        text += item(3 + 2 * axis);
        text += " to ";
        text += item(4 + 2 * axis);
        text += "; ";
        text += item(7 + axis);
        text += " Intervals\r\n";
    }
}
