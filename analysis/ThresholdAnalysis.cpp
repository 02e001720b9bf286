#include "analysis/ThresholdAnalysis.h"

#include "foundation/NumericFormatting.h"
#include "foundation/NumericHelpers.h"
#include "foundation/PresenterSlot.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <algorithm>

namespace {

using Slot = PresenterSlot<ThresholdResults, ThresholdResultsPresenter>;

// One level of refinement. It takes the analysis's grid as its parent and its counters and range 0 as
// they were, and gives all of them back when it is deleted.
class ThresholdGrid : public SensitivityResultGrid {
public:
    ThresholdGrid(ThresholdAnalysis* owner, double a, double b)
        : SensitivityResultGrid(owner->node, owner->ranges.intervals, owner->seriesCount, a, b),
          owner(owner),
          parent(std::move(owner->grid)),
          savedSeries(owner->seriesCounter),
          savedStep(owner->stepCounter)
    {
        VariableRange* range = owner->ranges.RangeAt(0);
        savedLow = range->low;
        savedHigh = range->high;
        range->low = FormattedValue{zString(), a};
        range->high = FormattedValue{zString(), b};
        owner->seriesCounter = 0;
        owner->stepCounter = 0;
        ++owner->depth;
    }

    ~ThresholdGrid() override
    {
        VariableRange* range = owner->ranges.RangeAt(0);
        range->low = savedLow;
        range->high = savedHigh;
        owner->seriesCounter = savedSeries;
        owner->stepCounter = savedStep;
        --owner->depth;
    }

    std::unique_ptr<SensitivityResultGrid> TakeParent() { return std::move(parent); }

    // Wide intervals are refined: the first optimal crossing opens a level over its interval and ends the
    // scan of this one. Narrow ones take the interpolated crossing.
    int AddCrossing(ThresholdList& list, int a, int b, int t, int component) override
    {
        const double width = (High() - Low()) / Intervals();
        if (width <= 2 * owner->tolerance)
            return SensitivityResultGrid::AddCrossing(list, a, b, t, component);
        double x = 0.0;
        double value = 0.0;
        if (!OptimalCrossing(a, b, t, component, x, value))
            return 1;
        const double x0 = Low() + (t - 1) * width;
        owner->OpenLevel(x0, x0 + width);
        return 0;
    }

private:
    ThresholdAnalysis* owner;
    std::unique_ptr<SensitivityResultGrid> parent;
    int32_t savedSeries;
    int32_t savedStep;
    FormattedValue savedLow;
    FormattedValue savedHigh;
};

}  // namespace

ThresholdResultsPresenter SetThresholdResultsPresenter(ThresholdResultsPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

ThresholdAnalysis::ThresholdAnalysis(TreeNode* node, const ThresholdSettings& settings)
    : OneWaySensitivityAnalysis(node, settings), tolerance(settings.tolerance)
{
    nodeOnly = 0;
    seriesCount = node->childCount;
    decimals = static_cast<int16_t>(1 + DisplayedDecimals(tolerance, &node->document->NumberFormat()));
    low = position = settings.low.value;
    high = settings.high.value;
}

ThresholdAnalysis::~ThresholdAnalysis()
{
    while (grid != nullptr)
        CloseLevel();
}

std::unique_ptr<SensitivityResultGrid> ThresholdAnalysis::MakeGrid()
{
    const VariableRange* main = ranges.RangeAt(0);
    return std::make_unique<ThresholdGrid>(this, main->low.value, main->high.value);
}

void ThresholdAnalysis::OpenLevel(double a, double b)
{
    grid = std::make_unique<ThresholdGrid>(this, a, b);
    position = a;
    ShowProgress(ProgressPos());
}

void ThresholdAnalysis::CloseLevel()
{
    std::unique_ptr<SensitivityResultGrid> done = std::move(grid);
    grid = static_cast<ThresholdGrid*>(done.get())->TakeParent();
}

// One evaluation per call; after the last series of a step, the interval just completed is scanned, which
// may open a finer level. A finished level closes and its parent goes on.
int ThresholdAnalysis::Step()
{
    const int32_t levels = depth;
    if (seriesCounter < seriesCount) {
        if (stopFlag == 0) {
            if (seriesCounter == 0)
                ApplyStepValues();
            RunFault error;
            grid->EvaluateCell(seriesCounter, stepCounter, node->GetChild(seriesCounter), &error);
            if (error)
                stopFlag = 1;
        }
        ++seriesCounter;
    } else {
        seriesCounter = 0;
        ++stepCounter;
        if (stepCounter > 1) {
            grid->FindOptimalChanges(thresholds, stepCounter - 2, 0);
            if (depth == levels) {
                const VariableRange* range = ranges.RangeAt(0);
                position = range->low.value + (stepCounter - 1) * (range->high.value - range->low.value) /
                                                  ranges.intervals;
            }
        }
    }
    if (stopFlag != 0)
        return 1;
    if (stepCounter > ranges.intervals) {
        if (depth == 1)
            return 1;
        position = ranges.RangeAt(0)->high.value;
        ShowProgress(ProgressPos());
        CloseLevel();
    }
    return 0;
}

void ThresholdAnalysis::Finish()
{
    RestoreRanges();
    if (Slot::Current())
        Slot::Current()(Results());
}

// The choice above the last threshold is the best series at the top grid's last step.
ThresholdResults ThresholdAnalysis::Results() const
{
    ThresholdResults results;
    results.variable = ranges.RangeAt(0)->name;
    results.low = low;
    results.high = high;
    results.tolerance = tolerance;
    results.decimals = decimals;
    results.format = node->document->NumberFormat();
    for (int i = 0; i < thresholds.Count(); ++i)
        results.thresholds.push_back(*thresholds.At(i));
    std::stable_sort(results.thresholds.begin(), results.thresholds.end(),
                     [](const ThresholdPoint& a, const ThresholdPoint& b) { return a.x < b.x; });
    if (grid != nullptr && seriesCount > 0) {
        const int last = grid->Intervals();
        int best = 0;
        for (int i = 1; i < seriesCount; ++i) {
            if (node->document->IsBetter(node, *grid->ThirdAt(i, last), *grid->ThirdAt(best, last)))
                best = i;
        }
        results.lastChoice = node->GetChild(best);
    }
    return results;
}

void ThresholdResults::IntervalText(int i, bool forDialog, zString& out) const
{
    zString number;
    out = "For \"";
    out += variable;
    out += "\" between ";
    FormatNumber(format, i == 0 ? low : thresholds[i - 1].x, number, true, false, decimals);
    out += number;
    if (forDialog)
        out += "\n";
    out += " and ";
    FormatNumber(format, i < Count() ? thresholds[i].x : high, number, true, false, decimals);
    out += number;
    out += ", the optimal";
    if (forDialog)
        out += "\n";
    out += " choice is \"";
    TreeNode* choice = i < Count() ? thresholds[i].node : lastChoice;
    if (choice != nullptr) {
        choice->GetShortText(number, 30);
        out += number;
    }
    out += "\".";
}

void ThresholdResults::ThresholdText(int i, zString& out) const
{
    out.Clear();
    if (i >= Count())
        return;
    zString number;
    // A value like any other of the tree: its places, not those the crossing was located to.
    FormatNumber(format, thresholds[i].value, number, true, true, DigitsOfFormat);
    out = "EV at threshold: ";
    out += number;
}

void ThresholdResults::ReportText(zString& out) const
{
    zString line;
    out = "KIVO(tm) Threshold Analysis:\r\nTolerance of +/- ";
    FormatNumber(format, tolerance, line, true, false, static_cast<int16_t>(-decimals));
    out += line;
    out += "\r\n";
    for (int i = 0; i <= Count(); ++i) {
        IntervalText(i, false, line);
        out += line;
        out += "\r\n";
        if (i < Count()) {
            ThresholdText(i, line);
            out += line;
            out += "\r\n";
        }
    }
}
