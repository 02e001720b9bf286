#include "analysis/OneWaySensitivityAnalysis.h"

#include "analysis/VariableSubstitution.h"
#include "foundation/MessageBoxes.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

namespace {

constexpr const char* kErrorCaption = "Sensitivity Error";

}  // namespace

OneWaySensitivityAnalysis::OneWaySensitivityAnalysis(TreeNode* node, const OneWaySettings& settings)
    : AnalysisRun(node->document), node(node), nodeOnly(settings.nodeOnly ? 1 : 0)
{
    seriesCount = nodeOnly ? 1 : node->childCount;
    ranges.intervals = settings.intervals;
    ranges.Add(new VariableRange(settings.variable, settings.low, settings.high));
}

OneWaySensitivityAnalysis::~OneWaySensitivityAnalysis()
{
    RestoreRanges();
}

void OneWaySensitivityAnalysis::Run()
{
    if (!BuildBindings()) {
        stopFlag = 1;
        delete this;
        return;
    }
    if (!SensitivityResultGrid::SizeFits(ranges.intervals, seriesCount)) {
        ShowErrorBox(kErrorCaption,
                     "There is not enough memory to perform the requested analysis. Please try closing other "
                     "applications or documents, or try using fewer intervals.",
                     -1);
        stopFlag = 1;
        delete this;
        return;
    }
    grid = MakeGrid();
    stepCounter = 0;
    seriesCounter = 0;
    Start();
}

std::unique_ptr<SensitivityResultGrid> OneWaySensitivityAnalysis::MakeGrid()
{
    const VariableRange* main = ranges.RangeAt(0);
    return std::make_unique<SensitivityResultGrid>(node, ranges.intervals, seriesCount, main->low.value,
                                                   main->high.value);
}

bool OneWaySensitivityAnalysis::BuildBindings()
{
    for (int r = 0; r < ranges.Count(); ++r) {
        VariableRange* range = ranges.RangeAt(r);
        CollectVariableDefinitions(range->bindings, node, range->key.Text(), true);
        if (range->bindings.Count() == 0) {
            zString message("The variable \"");
            message += range->name;
            message += "\" has no definitions.";
            ShowErrorBox(kErrorCaption, message.Text(), -1);
            return false;
        }
    }
    return true;
}

void OneWaySensitivityAnalysis::ApplyStepValues()
{
    zString valueText;
    ranges.ApplyStep(stepCounter, &valueText);
    whenText = "When:\n";
    whenText += ranges.RangeAt(0)->name;
    whenText += " = ";
    whenText += valueText;
}

void OneWaySensitivityAnalysis::RestoreRanges()
{
    ranges.RestoreAll();
}

// One evaluation: the current series at the current step; a new step first writes its value.
int OneWaySensitivityAnalysis::Step()
{
    if (stopFlag != 0)
        return 1;
    if (seriesCounter == 0)
        ApplyStepValues();
    TreeNode* evaluated = nodeOnly ? node : node->GetChild(seriesCounter);
    int error = 0;
    double value = grid->EvaluateCell(seriesCounter, stepCounter, evaluated, &error);
    if (error != 0) {
        stopFlag = 1;
        return 1;
    }
    if (stepCounter == 0 && seriesCounter == 0) {
        minimum = maximum = value;
    } else if (value > maximum) {
        maximum = value;
    } else if (value < minimum) {
        minimum = value;
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
    if (minimum == maximum) {
        ShowErrorBox(kErrorCaption,
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

// Items: node path, variable, low, high, intervals, cost-effectiveness flag, then the rest of the settings.
void DescribeOneWaySensitivity(TreeDocument* window, StoredAnalysis* record, zString& text)
{
    const StoredNameList& items = *record->parameters;
    auto item = [&items](int i) { return items.At(i) != nullptr ? items.At(i)->Text() : ""; };
    text = "Sensitivity Analysis on ";
    text += item(1);
    text += "\r\nAt Node \"";
    TreeNode* found = window != nullptr ? FindNodeByPath(window->Root, item(0)) : nullptr;
    if (found != nullptr) {
        zString name;
        found->GetShortText(name, 30);
        text += name;
    }
    text += "\"\r\nLow = ";
    text += item(2);
    text += "\r\nHigh = ";
    text += item(3);
    text += "\r\n";
    text += item(4);
    text += " Intervals";
    if (item(5)[0] == '1')
        text += ", Cost-Eff";
}
