#include "analysis/SensitivityResultGrid.h"

#include "analysis/LineCrossing.h"
#include "analysis/RollBack.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <cmath>

namespace {

constexpr double kTie = 1e-10;

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

double SensitivityResultGrid::EvaluateCell(int i, int t, TreeNode* evaluated, int* error)
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
