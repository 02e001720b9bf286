#include "analysis/RegionSweepRun.h"

#include "analysis/ProbabilityVerification.h"
#include "analysis/VariableSubstitution.h"
#include "formula/RunOutcome.h"
#include "foundation/NameList.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <exception>

namespace {

constexpr const char* kErrorCaption = "Sensitivity Error";

// "When:" and a "NAME = value" line per axis: the grid point that the checks' messages name.
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

}  // namespace

RegionSweepRun::RegionSweepRun(TreeNode* node, int32_t kind,
                               std::initializer_list<const SensitivityAxisSettings*> axes, bool checkCoherence)
    : AnalysisRun(node->document), node(node), kind(kind), axisCount(static_cast<int>(axes.size())),
      strategies(node->childCount), newRun(1)
{
    int a = 0;
    for (const SensitivityAxisSettings* axis : axes) {
        sets[a].intervals = axis->intervals;
        sets[a].Add(new VariableRange(axis->variable, axis->low, axis->high));
        names[a] = axis->variable;
        names[a].MakeUpper();
        counts[a] = sets[a].intervals + 1;
        ++a;
    }
    if (!checkCoherence)
        coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
}

RegionSweepRun::RegionSweepRun(TreeDocument* treeDocument, StoredAnalysis* record, int32_t kind, int axisCount,
                               int32_t tailFrom, int32_t textsFrom)
    : AnalysisRun(treeDocument), node(nullptr), kind(kind), axisCount(axisCount)
{
    caller = record;
    if (record->kind != kind || record->parameters->Count() < 8) {
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
        for (int a = 0; a < axisCount; ++a)
            names[a] = *items.Next();
        FormattedValue bounds[2 * kMostAxes];
        for (int i = 0; i < 2 * axisCount; ++i)
            ReadValueItem(items, error, bounds[i]);
        for (int a = 0; a < axisCount; ++a) {
            sets[a].intervals = static_cast<int32_t>(ReadNumberItem(items, error));
            counts[a] = sets[a].intervals + 1;
            fits = fits && sets[a].intervals >= 1;
        }
        for (int a = 0; a < axisCount && fits && error == 0; ++a) {
            auto* range = new VariableRange(names[a], bounds[2 * a], bounds[2 * a + 1]);
            sets[a].Add(range);
            fits = LoadBindingsText(range->bindings, items, treeDocument, names[a]);
        }
        fits = fits && error == 0;
    }
    if (fits && version >= tailFrom) {
        for (int a = 0; a < axisCount && fits && version >= textsFrom; ++a)
            fits = sets[a].LoadText(items, treeDocument, true);
        if (fits && ReadNumberItem(items, error) == 0.0 && error == 0)
            coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
        fits = fits && error == 0;
    }
    if (!fits) {
        ReportFailure(OutcomeCode::StoredStructureMismatch, nullptr, kErrorCaption,
                      "The analysis cannot be performed. The tree structure is too different.", -1);
        stopFlag = 1;
    }
}

RegionSweepRun::~RegionSweepRun() { RestoreAll(); }

void RegionSweepRun::RestoreAll()
{
    for (int a = 0; a < axisCount; ++a)
        sets[a].RestoreAll();
}

bool RegionSweepRun::BuildBindings()
{
    for (int a = 0; a < axisCount; ++a)
        CloseRangeWindows(sets[a], document);
    for (int a = 0; a < axisCount; ++a) {
        if (!CollectAndCheckDefinitions(sets[a], node, document))
            return false;
    }
    return true;
}

bool RegionSweepRun::Begin()
{
    bool intervalsSet = true;
    for (int a = 0; a < axisCount; ++a)
        intervalsSet = intervalsSet && sets[a].intervals >= 1;
    if (node == nullptr || stopFlag != 0 || !intervalsSet || (caller == nullptr && !BuildBindings())) {
        stopFlag = 1;
        return false;
    }
    const VariableRange* x = sets[0].RangeAt(0);
    const VariableRange* y = sets[1].RangeAt(0);
    const int32_t mapCount = counts[2];
    bool allocated = true;
    try {
        maps.reserve(static_cast<size_t>(mapCount));
        for (int z = 0; z < mapCount && allocated; ++z) {
            maps.push_back(std::make_shared<StrategyRegionMap>(node, counts[0], counts[1], strategies, x->low.value,
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
    strategyCounter = 0;
    for (int32_t& step : steps)
        step = 0;
    Start();
    return true;
}

double RegionSweepRun::ProgressPos()
{
    if (maps.empty())
        return 0;
    return static_cast<double>(steps[2]) * maps[0]->CellCount() + maps[0]->CellIndex(strategyCounter, steps[1], steps[0]);
}

double RegionSweepRun::ProgressTotal()
{
    return maps.empty() ? 0 : static_cast<double>(counts[2]) * maps[0]->CellCount();
}

// One evaluation; the first strategy of a point writes X, at the start of a row Y too, and at the first point
// of a map Z as well, and checks the tree there.
int RegionSweepRun::Step()
{
    if (stopFlag != 0)
        return 1;
    if (strategyCounter == 0) {
        for (int a = 0; a < axisCount && (a == 0 || steps[a - 1] == 0); ++a)
            sets[a].ApplyStep(steps[a], &valueTexts[a]);
        if (coherenceGuard == nullptr)
            whenText = GridPointText(names, valueTexts, axisCount);
        const char* when = whenText.IsEmpty() ? nullptr : whenText.Text();
        if (CheckRiskPreference(document, when) == 0 ||
            (coherenceGuard == nullptr && VerifyProbabilities(document, 0, node, when, 0) == 0)) {
            stopFlag = 1;
            return 1;
        }
    }
    RunFault error;
    maps[steps[2]]->EvaluateCell(strategyCounter, steps[1], steps[0], node->GetChild(strategyCounter), &error);
    if (error) {
        stopFlag = 1;
        return 1;
    }
    if (++strategyCounter < strategies)
        return 0;
    strategyCounter = 0;
    for (int a = 0; a < axisCount; ++a) {
        if (++steps[a] < counts[a])
            return 0;
        steps[a] = 0;
    }
    return 1;
}

zString RegionSweepRun::SweptVariables() const
{
    zString joined;
    for (int a = 0; a < axisCount; ++a) {
        if (a > 0)
            joined += " and ";
        joined += VariableLabel(document, sets[a].RangeAt(0)->name);
    }
    return joined;
}

StoredAnalysis* RegionSweepRun::MakeStoredRecord()
{
    if (stopFlag != 0)
        return nullptr;
    StoredAnalysis* record = NewStoredRecordAt(kind, node, 1);
    NameList& items = *record->parameters;
    for (int a = 0; a < axisCount; ++a)
        items.AddCopy(names[a]);
    for (int a = 0; a < axisCount; ++a) {
        items.AddCopy(sets[a].RangeAt(0)->low.text);
        items.AddCopy(sets[a].RangeAt(0)->high.text);
    }
    for (int a = 0; a < axisCount; ++a)
        AddNumberItem(items, sets[a].intervals);
    for (int a = 0; a < axisCount; ++a)
        StoreBindingsText(sets[a].RangeAt(0)->bindings, items);
    for (int a = 0; a < axisCount; ++a)
        sets[a].StoreText(items, true);
    items.AddText(coherenceGuard == nullptr ? "1" : "0");
    return record;
}
