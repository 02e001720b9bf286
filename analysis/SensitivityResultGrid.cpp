#include "analysis/SensitivityResultGrid.h"

#include "analysis/CEDominance.h"
#include "analysis/CEReport.h"
#include "analysis/CEPointList.h"
#include "analysis/GridStepStrategySet.h"
#include "analysis/LineCrossing.h"
#include "analysis/RollBack.h"
#include "analysis/VariableSubstitution.h"
#include "foundation/Archive.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericHelpers.h"
#include "foundation/PresenterSlot.h"
#include "foundation/VersionRecord.h"
#include "model/DocVariable.h"
#include "model/NodeFormula.h"
#include "model/TreeDocument.h"
#include "model/VariableDefinition.h"
#include "model/TreeNode.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTie = 1e-10;

using QuestionSlot = PresenterSlot<SensitivityResultGrid, ExtendedDominanceQuestion>;

}  // namespace

bool SensitivityResultGrid::SizeFits(int32_t intervals, int32_t series)
{
    return intervals >= 1 && series >= 1 && static_cast<int64_t>(intervals + 1) * series <= kMaxCells;
}

SensitivityResultGrid::SensitivityResultGrid(TreeNode* node, int32_t intervals, int32_t series, double low,
                                             double high)
    : node(node),
      document(node ? node->document : nullptr),
      intervals(intervals),
      series(series),
      cellCount(series * (intervals + 1)),
      low(low),
      high(high)
{
    if (cellCount > 0)
        cells = new ValueTriple[cellCount]();
}

SensitivityResultGrid::~SensitivityResultGrid()
{
    delete[] cells;
}

double SensitivityResultGrid::EvaluateCell(int i, int t, TreeNode* evaluated, RunFault* error)
{
    double value = RollBackTree(evaluated, error, RollBackPlain);
    ValueTriple& cell = Cell(i, t);
    cell.cost = evaluated->triple.cost;
    cell.effectiveness = evaluated->triple.effectiveness;
    cell.value = value;
    return value;
}

// Ties at a grid point give a threshold at that step; a change of the better series between two steps asks
// AddCrossing. A tie forgets which series was better, so the next change is not counted twice.
void SensitivityResultGrid::FindOptimalChanges(ThresholdList& list, int start, int component)
{
    int first = start < 0 ? 0 : start;
    int last = start < 0 ? intervals : start + 1;
    for (int a = 0; a < series; ++a) {
        for (int b = a + 1; b < series; ++b) {
            int previous = -1;
            for (int t = first; t <= last; ++t) {
                double va = Value(a, t, component);
                double vb = Value(b, t, component);
                if (std::fabs(va - vb) >= kTie) {
                    int better = document->IsBetter(node, va, vb) ? a : b;
                    if (previous >= 0 && previous != better && AddCrossing(list, a, b, t, component) == 0)
                        return;
                    previous = better;
                    continue;
                }
                previous = -1;
                if (t > 0 && IsOptimalValue(va, 0.0, t, -1, component))
                    AddThreshold(list, BetterBelow(a, b, t, component), a, b, StepX(t), va);
            }
        }
    }
}

int SensitivityResultGrid::AddCrossing(ThresholdList& list, int a, int b, int t, int component)
{
    double x = 0.0;
    double value = 0.0;
    if (OptimalCrossing(a, b, t, component, x, value))
        AddThreshold(list, BetterBelow(a, b, t, component), a, b, x, value);
    return 1;
}

bool SensitivityResultGrid::OptimalCrossing(int a, int b, int t, int component, double& x, double& value) const
{
    CrossingRecord crossing{};
    crossing.x0 = StepX(t - 1);
    crossing.x1 = StepX(t);
    crossing.a0 = Value(a, t - 1, component);
    crossing.a1 = Value(a, t, component);
    crossing.b0 = Value(b, t - 1, component);
    crossing.b1 = Value(b, t, component);
    if (!InterpolateCrossing(crossing) || !IsOptimalValue(crossing.y, crossing.t, t - 1, t, component))
        return false;
    x = crossing.x;
    value = crossing.y;
    return true;
}

bool SensitivityResultGrid::IsOptimalValue(double v, double f, int t0, int t1, int component) const
{
    if (series <= 2)
        return true;
    for (int k = 0; k < series; ++k) {
        double w = Value(k, t0, component);
        if (t1 >= 0)
            w += f * (Value(k, t1, component) - w);
        if (std::fabs(w - v) >= kTie && document->IsBetter(node, w, v))
            return false;
    }
    return true;
}

void SensitivityResultGrid::AddThreshold(ThresholdList& list, TreeNode* node, int a, int b, double x, double value)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (std::fabs(list.At(i)->x - x) < kTie)
            return;
    }
    auto* point = new ThresholdPoint;
    point->first = static_cast<int16_t>(a);
    point->second = static_cast<int16_t>(b);
    point->x = x;
    point->value = value;
    point->node = node;
    if (!list.Add(point))
        delete point;
}

TreeNode* SensitivityResultGrid::BetterBelow(int a, int b, int t, int component) const
{
    int better = document->IsBetter(node, Value(a, t - 1, component), Value(b, t - 1, component)) ? a : b;
    return node->GetChild(better);
}

SensitivityResultGrid* SensitivityResultGrid::Clone() const
{
    auto* copy = new SensitivityResultGrid(node, intervals, series, low, high);
    std::copy(cells, cells + cellCount, copy->cells);
    return copy;
}

void SensitivityResultGrid::CopySeries(int i, double* out, int component) const
{
    for (int t = 0; t <= intervals; ++t) {
        const ValueTriple& cell = Cell(i, t);
        out[t] = component == 1 ? cell.cost : component == 2 ? cell.effectiveness : cell.value;
    }
}

bool SensitivityResultGrid::Extremes(double& minCost, double& maxCost, double& minEff, double& maxEff,
                                     double& minRatio, double& maxRatio) const
{
    bool complete = true;
    bool ratioSeen = false;
    for (int k = 0; k < cellCount; ++k) {
        const ValueTriple& cell = cells[k];
        if (k == 0) {
            minCost = maxCost = cell.cost;
            minEff = maxEff = cell.effectiveness;
            minRatio = maxRatio = 0.0;
        }
        minCost = std::min(minCost, cell.cost);
        maxCost = std::max(maxCost, cell.cost);
        minEff = std::min(minEff, cell.effectiveness);
        maxEff = std::max(maxEff, cell.effectiveness);
        if (std::fabs(cell.effectiveness) < kTie) {
            complete = false;
            continue;
        }
        const double ratio = cell.cost / cell.effectiveness;
        minRatio = ratioSeen ? std::min(minRatio, ratio) : ratio;
        maxRatio = ratioSeen ? std::max(maxRatio, ratio) : ratio;
        ratioSeen = true;
    }
    return complete;
}

bool SensitivityResultGrid::ComponentRange(int component, double& rangeLow, double& rangeHigh) const
{
    double range[6] = {};
    const bool complete = Extremes(range[0], range[1], range[2], range[3], range[4], range[5]);
    const int first = component == 1 ? 0 : component == 2 ? 2 : 4;
    rangeLow = range[first];
    rangeHigh = range[first + 1];
    return component != 3 || complete;
}

void SensitivityResultGrid::MarginalCEByStep(int i, double* out, int mode) const
{
    for (int t = 0; t <= intervals; ++t) {
        out[t] = kNoValue;
        CEPointList points;
        BuildCEPoints(GridStepStrategySet(*this, t, nullptr), points, 0);
        int k = -1;
        for (int p = 0; p < points.Count(); ++p) {
            if (points.Point(p)->strategyIndex == i)
                k = p;
        }
        if (k < 1)
            continue;
        const CEPoint* point = points.Point(k);
        if (mode == 3 && !point->IsUndominated())
            continue;
        int earlier = k - 1;
        while (earlier > 0 && !points.Point(earlier)->IsUndominated())
            --earlier;
        const double dc = point->cost - points.Point(earlier)->cost;
        const double de = point->effectiveness - points.Point(earlier)->effectiveness;
        if (mode == 1)
            out[t] = dc;
        else if (mode == 2)
            out[t] = de;
        else if (de > 0)
            out[t] = dc / de;
    }
}

// Reading refuses counts that disagree with each other, so a damaged record never sizes the cells wrongly.
void SensitivityResultGrid::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(intervals)).WriteShort(static_cast<int16_t>(series));
        archive.WriteShort(static_cast<int16_t>(cellCount)).WriteDouble(low).WriteDouble(high);
        StoreValueTriples(archive, cells, cellCount);
        return;
    }
    int16_t storedIntervals = 0;
    int16_t storedSeries = 0;
    int16_t storedCells = 0;
    archive.ReadShort(storedIntervals).ReadShort(storedSeries).ReadShort(storedCells).ReadDouble(low).ReadDouble(high);
    delete[] cells;
    cells = nullptr;
    intervals = series = cellCount = 0;
    if (archive.Failed() || storedIntervals < 1 || storedSeries < 1 ||
        static_cast<int32_t>(storedIntervals + 1) * storedSeries != storedCells) {
        archive.SetFormatError(1);
        return;
    }
    intervals = storedIntervals;
    series = storedSeries;
    cellCount = storedCells;
    cells = LoadValueTriples(archive, version, cellCount);
    if (cells == nullptr)
        intervals = series = cellCount = 0;
}

void BranchNames(const TreeNode* node, NameList& names)
{
    zString name;
    for (int i = 0; i < node->childCount; ++i) {
        node->GetChild(i)->GetShortText(name, 30);
        names.AddCopy(name);
    }
}

void AutoFormatForRange(NumericFormat& format, double rangeLow, double rangeHigh, int intervals)
{
    const double step = (rangeHigh - rangeLow) / intervals;
    const double a = std::fabs(rangeLow);
    const double b = std::fabs(rangeHigh);
    const int scale = a >= 1e9 && b > 1e9 ? 9 : a >= 1e6 && b > 1e6 ? 6 : a >= 10000 && b > 10000 ? 3 : 0;
    const double unit = PowerOfTen(scale);
    // Every label is the bottom and a whole number of steps, so those two say how many places the labels need.
    int places = std::min<int>(kMostAxisPlaces, std::max(DisplayedDecimals(rangeLow / unit, &format),
                                                         DisplayedDecimals(step / unit, &format)));
    // Unscaled, the numbers keep at least the places the format gives values.
    if (scale == 0)
        places = std::max<int>(places, format.expValDigits);
    format.chopOff = static_cast<uint8_t>(scale);
    format.axisDigits = static_cast<uint8_t>(places);
    format.expValDigits = static_cast<uint8_t>(places);
}

bool ReadStoredRange(const char* name, TreeNode* node, TreeDocument* document, double& low, double& high,
                     FormattedValue* lowValue, FormattedValue* highValue)
{
    auto give = [&](double a, double b, const zString& aText, const zString& bText) {
        low = a;
        high = b;
        if (lowValue != nullptr)
            *lowValue = FormattedValue{aText, a};
        if (highValue != nullptr)
            *highValue = FormattedValue{bText, b};
    };
    const DocVariable* variable = document->FindVariable(name, false);
    if (variable != nullptr && variable->hasRange != 0) {
        give(variable->low.value, variable->high.value, variable->low.text, variable->high.text);
        return true;
    }
    zString key(name);
    key.MakeUpper();
    RangeBindingList found;
    if (node == nullptr)
        AddDefinitionIfPresent(found, document->Root, key.Text());
    else
        CollectVariableDefinitions(found, node, key.Text(), false);
    if (found.Count() > 0) {
        RangeBinding* entry = found.At(0);
        Expression& formula = entry->definition->definition;
        double value = 0.0;
        if (formula.GetConstant(&value)) {
            give(value, value, formula.Text(), formula.Text());
            return true;
        }
        RunFault error;
        value = EvaluateNodeFormula(entry->node, formula, "definition", &error, true);
        if (!error) {
            give(value, value, zString(), zString());
            return true;
        }
    }
    give(0.0, 0.0, zString(), zString());
    return false;
}

ExtendedDominanceQuestion SetExtendedDominanceQuestion(ExtendedDominanceQuestion question)
{
    return QuestionSlot::Replace(std::move(question));
}

void SensitivityResultGrid::CEOptimalByStep(TextReport& report, const char* rowLabelTitle, const NameList* names, const CEFormats& formats,
                                            int eliminate, int step) const
{
    if (eliminate < 0)
        eliminate = series == 1 ? 0 : QuestionSlot::Current() ? QuestionSlot::Current()(0) : 0;
    NameList branchNames;
    if (names == nullptr && node != nullptr) {
        BranchNames(node, branchNames);
        names = &branchNames;
    }
    WriteCETableHeader(report, rowLabelTitle);
    for (int t = step >= 0 ? step : 0; t <= (step >= 0 ? step : intervals); ++t) {
        CEPointList points;
        BuildCEPoints(GridStepStrategySet(*this, t, names), points, eliminate);
        zString label;
        AppendFormattedNumber(label, StepX(t), -9);
        WriteCETableRows(points, report, formats, label.Text(), eliminate != 0);
    }
}
