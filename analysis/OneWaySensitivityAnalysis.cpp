#include "analysis/OneWaySensitivityAnalysis.h"

#include "analysis/ProbabilityVerification.h"
#include "analysis/VariableSubstitution.h"
#include "formula/RunOutcome.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "foundation/PresenterSlot.h"
#include "foundation/VersionRecord.h"
#include "foundation/NumericFormat.h"
#include "model/DocVariable.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <cstring>
#include <string>

namespace {

constexpr const char* kErrorCaption = "Sensitivity Error";

using CESlot = PresenterSlot<CESensitivityResults, CESensitivityPresenter>;

}  // namespace

OneWaySensitivityAnalysis::OneWaySensitivityAnalysis(TreeNode* node, const OneWaySettings& settings)
    : AnalysisRun(node->document), node(node), nodeOnly(settings.nodeOnly ? 1 : 0)
{
    costEffectiveness = document->CalcPrefs.CalcMethod == CostEffectivenessMethod ? 1 : 0;
    riskCoefficient = _stricmp(settings.variable.Text(), kRiskCoefficientName) == 0 ? 1 : 0;
    if (!settings.checkCoherence)
        coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
    seriesCount = nodeOnly ? 1 : node->childCount;
    ranges.intervals = settings.intervals;
    ranges.Add(new VariableRange(settings.variable, settings.low, settings.high));
}

// Items as MakeStoredRecord writes them; older records stop after the bindings (before 3.0 beta 2) or
// after the checking number (3.0 beta 2), and have no correlated ranges before 3.5 beta 2.
OneWaySensitivityAnalysis::OneWaySensitivityAnalysis(TreeDocument* treeDocument, StoredAnalysis* record)
    : AnalysisRun(treeDocument), node(nullptr)
{
    caller = record;
    costEffectiveness = treeDocument->CalcPrefs.CalcMethod == CostEffectivenessMethod ? 1 : 0;
    if (record->kind != OneWaySensitivityKind || record->parameters->Count() < 8) {
        stopFlag = 1;
        return;
    }
    StoredItemReader items{*record->parameters};
    const int32_t version = record->version.Key();
    int error = 0;
    const zString* path = items.Next();
    node = FindNodeByPath(treeDocument->Root, path->Text());
    bool fits = node != nullptr;
    if (fits) {
        nodeOnly = node->IsDecision() ? 0 : 1;
        zString name = *items.Next();
        FormattedValue low;
        FormattedValue high;
        ReadValueItem(items, error, low);
        ReadValueItem(items, error, high);
        ranges.intervals = static_cast<int32_t>(ReadNumberItem(items, error));
        auto* range = new VariableRange(name, low, high);
        ranges.Add(range);
        if (version >= KnownVersion::k3_5 && static_cast<int32_t>(ReadNumberItem(items, error)) != costEffectiveness)
            fits = false;
        fits = fits && error == 0 && LoadBindingsText(range->bindings, items, treeDocument, name);
    }
    if (fits && version >= KnownVersion::k3_0_Beta2) {
        if (version > KnownVersion::k3_5_Beta2)
            fits = ranges.LoadText(items, treeDocument, true);
        if (fits && ReadNumberItem(items, error) == 0.0 && error == 0)
            coherenceGuard = std::make_unique<CoherenceGuard>(document->CheckingFlag);
        if (version > KnownVersion::k3_0_Beta2) {
            nodeOnly = static_cast<int32_t>(ReadNumberItem(items, error));
            reserved = static_cast<int32_t>(ReadNumberItem(items, error));
            riskCoefficient = static_cast<int32_t>(ReadNumberItem(items, error));
        }
        fits = fits && error == 0;
    }
    if (!fits) {
        ReportFailure(OutcomeCode::StoredStructureMismatch, nullptr, kErrorCaption, "The analysis cannot be performed. The tree structure is too different.", -1);
        stopFlag = 1;
        return;
    }
    seriesCount = nodeOnly ? 1 : node->childCount;
}

OneWaySensitivityAnalysis::~OneWaySensitivityAnalysis()
{
    RestoreRanges();
}

bool OneWaySensitivityAnalysis::Begin()
{
    if (node == nullptr || stopFlag != 0 || ranges.intervals < 1 || (caller == nullptr && !BuildBindings())) {
        stopFlag = 1;
        return false;
    }
    if (!SensitivityResultGrid::SizeFits(ranges.intervals, seriesCount)) {
        ReportFailure(OutcomeCode::NotEnoughMemory, nullptr, kErrorCaption, kNotEnoughMemoryText, -1);
        stopFlag = 1;
        return false;
    }
    grid = MakeGrid();
    stepCounter = 0;
    seriesCounter = 0;
    Start();
    return true;
}

std::unique_ptr<SensitivityResultGrid> OneWaySensitivityAnalysis::MakeGrid()
{
    const VariableRange* main = ranges.RangeAt(0);
    return std::make_unique<SensitivityResultGrid>(node, ranges.intervals, seriesCount, main->low.value,
                                                   main->high.value);
}

// The risk preference coefficient has no definition: its one entry only saves the coefficient's text.
bool OneWaySensitivityAnalysis::BuildBindings()
{
    CloseRangeWindows(ranges, document);
    if (riskCoefficient != 0) {
        auto* entry = new RangeBinding;
        CoefficientText(document, entry->savedText);
        ranges.RangeAt(0)->bindings.Add(entry);
        return true;
    }
    return CollectAndCheckDefinitions(ranges, node, document);
}

void OneWaySensitivityAnalysis::ApplyStepValues()
{
    zString valueText;
    if (riskCoefficient != 0) {
        const double v = ranges.RangeAt(0)->StepValue(stepCounter, ranges.intervals);
        document->RiskAssessment.coefficient = v;
        document->RiskAssessment.constantAssessed = 1;
        FormatNumber(DefaultNumericFormat, v, valueText, false, false, -9);
    } else {
        ranges.ApplyStep(stepCounter, &valueText);
    }
    if (coherenceGuard != nullptr)
        return;
    whenText = "When:\n";
    whenText += ranges.RangeAt(0)->name;
    whenText += " = ";
    whenText += valueText;
}

void OneWaySensitivityAnalysis::RestoreRanges()
{
    if (riskCoefficient == 0) {
        ranges.RestoreAll();
        return;
    }
    const VariableRange* main = ranges.Count() > 0 ? ranges.RangeAt(0) : nullptr;
    if (main == nullptr || main->bindings.Count() == 0)
        return;
    int error = 0;
    ParseNumber(main->bindings.At(0)->savedText.Text(), document->RiskAssessment.coefficient, error);
    document->RiskAssessment.constantAssessed = 1;
}

// One evaluation: the current series at the current step; a new step first writes its value and checks the
// tree at it.
int OneWaySensitivityAnalysis::Step()
{
    if (stopFlag != 0)
        return 1;
    if (seriesCounter == 0) {
        ApplyStepValues();
        const char* when = whenText.IsEmpty() ? nullptr : whenText.Text();
        if (CheckRiskPreference(document, when) == 0 ||
            (coherenceGuard == nullptr && probabilityCheck.Verify(document, node, when) == 0)) {
            stopFlag = 1;
            return 1;
        }
    }
    TreeNode* evaluated = nodeOnly ? node : node->GetChild(seriesCounter);
    RunFault error;
    double value = grid->EvaluateCell(seriesCounter, stepCounter, evaluated, &error);
    if (error) {
        stopFlag = 1;
        return 1;
    }
    if (costEffectiveness == 0) {
        if (stepCounter == 0 && seriesCounter == 0) {
            minimum = maximum = value;
        } else if (value > maximum) {
            maximum = value;
        } else if (value < minimum) {
            minimum = value;
        }
    }
    if (++seriesCounter == seriesCount) {
        seriesCounter = 0;
        if (++stepCounter > ranges.intervals)
            stepCounter = 0;
    }
    return stepCounter == 0 && seriesCounter == 0 ? 1 : 0;
}

double OneWaySensitivityAnalysis::ProgressPos()
{
    return nodeOnly ? stepCounter : static_cast<double>(stepCounter) * node->childCount + seriesCounter;
}

void OneWaySensitivityAnalysis::Finish()
{
    RestoreRanges();
    if (costEffectiveness == 0 && minimum == maximum) {
        ReportFailure(OutcomeCode::AllOutcomesEqual, nullptr, kErrorCaption,
                     "All outcomes are equal. The analysis had no effect on the optimal path (or expected value) "
                     "at the selected node.",
                     -1);
        stopFlag = 1;
        return;
    }
    if (nodeOnly == 0)
        grid->FindOptimalChanges(thresholds, -1, 0);
    ShowResults();
}

void OneWaySensitivityAnalysis::ShowResults()
{
    if (costEffectiveness == 0) {
        LineGraphData graph;
        MakeGraph(graph);
        graph.graphTemplate = CallerTemplate();
        ShowLineGraph(graph);
        return;
    }
    CESensitivityResults results;
    results.grid.reset(grid.release());
    results.node = node;
    results.variableLabel = VariableLabel(document, ranges.RangeAt(0)->name);
    results.variableName = ranges.RangeAt(0)->name;
    results.title = "Sensitivity Analysis on ";
    results.title += results.variableLabel;
    if (CESlot::Current())
        CESlot::Current()(results);
}

void OneWaySensitivityAnalysis::MakeGraph(LineGraphData& graph) const
{
    const VariableRange* main = ranges.RangeAt(0);
    graph.title = "Sensitivity Analysis on ";
    graph.title += VariableLabel(document, main->name).Text();
    graph.useUtility = document->CalcPrefs.UseUtility != 0;
    graph.maximizing = document->IsMaximizing();
    graph.variableName = main->name.Text();
    graph.document = document;
    for (int r = 1; r < ranges.Count(); ++r)
        graph.subtitles.push_back(ranges.FormatBracketLabel(r).Text());
    SetVariableAxis(graph.horizontal, document->NumberFormat(), main->low.value, main->high.value, ranges.intervals);
    graph.horizontal.label = VariableLabel(document, main->name).Text();
    GraphAxisData& y = graph.vertical;
    y.label = graph.useUtility ? "Expected Value (Risk-adjusted)" : "Expected Value";
    y.bottom = minimum;
    y.top = maximum;
    y.autoScale = true;
    std::vector<double> values(ranges.intervals + 1);
    for (int i = 0; i < seriesCount; ++i) {
        zString name;
        (nodeOnly ? node : node->GetChild(i))->GetShortText(name, 30);
        grid->CopySeries(i, values.data(), 0);
        graph.lines.push_back({name.Text(), values});
    }
    for (int i = 0; i < thresholds.Count(); ++i)
        graph.thresholds.push_back(*thresholds.At(i));
}

CESensitivityPresenter SetCESensitivityPresenter(CESensitivityPresenter presenter)
{
    return CESlot::Replace(std::move(presenter));
}

StoredAnalysis* OneWaySensitivityAnalysis::MakeStoredRecord()
{
    if (stopFlag != 0)
        return nullptr;
    StoredAnalysis* record = NewStoredRecordAt(OneWaySensitivityKind, node, 1);
    NameList& items = *record->parameters;
    const VariableRange* main = ranges.RangeAt(0);
    items.AddCopy(main->name);
    items.AddCopy(main->low.text);
    items.AddCopy(main->high.text);
    for (int32_t number : {ranges.intervals, costEffectiveness})
        AddNumberItem(items, number);
    StoreBindingsText(main->bindings, items);
    ranges.StoreText(items, true);
    for (int32_t number : {coherenceGuard == nullptr ? 1 : 0, nodeOnly, reserved, riskCoefficient})
        AddNumberItem(items, number);
    return record;
}

void RunStoredOneWaySensitivity(StoredAnalysis* record, TreeDocument* document)
{
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(document, record));
}

// Items: node path, variable, low, high, intervals, cost-effectiveness flag, then the rest of the settings.
void DescribeOneWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    const StoredNameList& items = *record->parameters;
    auto item = [&items](int i) { return StoredItemText(items, i); };
    text = "Sensitivity Analysis on ";
    text += item(1);
    AppendAtNode(text, document, item(0));
    text += "\r\nLow = ";
    text += item(2);
    text += "\r\nHigh = ";
    text += item(3);
    text += "\r\n";
    text += item(4);
    text += " Intervals";
    if (item(5)[0] == '1')
        text += ", Cost-Eff";
}
