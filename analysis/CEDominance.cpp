#include "analysis/CEDominance.h"

#include "analysis/StrategySet.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kTolerance = 1e-10;

bool Coincide(double costDifference, double effDifference)
{
    return std::fabs(costDifference) < kTolerance && std::fabs(effDifference) < kTolerance;
}

// Index before which a new point belongs: the first point that costs more, or as much and is not more
// effective. So among equal costs the more effective point stands first, and of exact twins the later one.
int SortedPosition(const CEPointList& points, const CEPoint& point)
{
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint* other = points.Point(i);
        if (other->cost > point.cost || (other->cost == point.cost && other->effectiveness <= point.effectiveness))
            return i;
    }
    return points.Count();
}

void ResetDominance(CEPoint& point)
{
    point.state = CEPoint::Undominated;
    point.costBound = 0.0;
    point.effBound = 0.0;
    point.lowerIndex = -1;
    point.upperIndex = -1;
}

// Marks `last` extended-dominated because p lies below the line through the point kept before it, then
// unwinds the stack of kept points while p keeps cutting below their chords. Returns the ratio of p against
// the kept point that remains.
double MarkExtendedDominance(CEPoint& p, CEPoint& last, CEPointList& kept)
{
    last.state = CEPoint::ExtendedDominated;
    CEPoint* top = kept.Point(kept.Count() - 1);
    double ratio = IncrementalRatio(p, *top);
    while (kept.Count() >= 2) {
        CEPoint* below = kept.Point(kept.Count() - 2);
        if (!(ratio < IncrementalRatio(*top, *below)))
            break;
        top->state = CEPoint::ExtendedDominated;
        kept.RemoveAt(kept.Count() - 1);
        top = below;
        ratio = IncrementalRatio(p, *top);
    }
    return ratio;
}

// Pass 1: simple dominance against the last undominated point, and extended dominance by the falling
// incremental ratio. Returns for each point the index of the kept point it coincides with, or -1.
std::vector<int> MarkStates(CEPointList& points, int extended)
{
    std::vector<int> twinOf(points.Count(), -1);
    CEPointList kept(2, false);
    CEPoint* last = nullptr;
    int lastIndex = -1;
    double prevRatio = -1.0;
    for (int i = 0; i < points.Count(); ++i) {
        CEPoint* p = points.Point(i);
        if (last) {
            const double costDifference = p->cost - last->cost;
            const double effDifference = p->effectiveness - last->effectiveness;
            if (Coincide(costDifference, effDifference)) {
                twinOf[i] = lastIndex;
                continue;
            }
            if (IsDominatedStep(costDifference, effDifference)) {
                p->state = CEPoint::Dominated;
            } else {
                double ratio = costDifference / effDifference;
                if (i >= 2 && extended && ratio < prevRatio && kept.Count() >= 1)
                    ratio = MarkExtendedDominance(*p, *last, kept);
                prevRatio = ratio;
            }
            if (last->IsUndominated() && p->IsUndominated())
                kept.Add(last);
        }
        if (p->IsUndominated()) {
            last = p;
            lastIndex = i;
        }
    }
    return twinOf;
}

// Pass 2: the bracketing neighbours and coefficient-of-inequity bounds of extended-dominated points.
void MarkNeighbours(CEPointList& points)
{
    int16_t lowerKept = 0;
    for (int16_t i = 1; i < points.Count(); ++i) {
        CEPoint* p = points.Point(i);
        if (p->state == CEPoint::ExtendedDominated) {
            const int16_t upper = NextUndominatedIndex(points, i);
            if (upper < 0)
                continue;
            const CEPoint* a = points.Point(lowerKept);
            const CEPoint* b = points.Point(upper);
            p->lowerIndex = lowerKept;
            p->upperIndex = upper;
            p->costBound = 1.0 - (p->cost - a->cost) / (b->cost - a->cost);
            p->effBound = 1.0 - (p->effectiveness - a->effectiveness) / (b->effectiveness - a->effectiveness);
        } else if (p->IsUndominated()) {
            lowerKept = i;
        }
    }
}

}  // namespace

void BuildCEPoints(const StrategySet& strategies, CEPointList& points, int extended)
{
    const int32_t count = strategies.Count();
    for (int32_t i = 0; i < count; ++i) {
        zString name;
        strategies.Name(i, name);
        CEPoint* point = new CEPoint(strategies.Cost(i), strategies.Effectiveness(i), name, static_cast<int16_t>(i));
        if (!points.InsertAt(SortedPosition(points, *point), point))
            delete point;
    }
    MarkDominatedPoints(points, extended);
}

void MarkDominatedPoints(CEPointList& points, int extended)
{
    for (int i = 0; i < points.Count(); ++i)
        ResetDominance(*points.Point(i));
    const std::vector<int> twinOf = MarkStates(points, extended);
    for (int i = 0; i < points.Count(); ++i) {
        if (twinOf[i] >= 0)
            points.Point(i)->state = points.Point(twinOf[i])->state;
    }
    if (extended)
        MarkNeighbours(points);
}

bool IsDominatedStep(double costDifference, double effDifference)
{
    if (costDifference < 0.0)
        return false;
    if (effDifference > 0.0)
        return false;
    return !Coincide(costDifference, effDifference);
}

double IncrementalRatio(const CEPoint& a, const CEPoint& b)
{
    return (b.cost - a.cost) / (b.effectiveness - a.effectiveness);
}

int16_t NextUndominatedIndex(const CEPointList& points, int16_t i)
{
    for (int j = i + 1; j < points.Count(); ++j) {
        if (points.Point(j)->IsUndominated())
            return static_cast<int16_t>(j);
    }
    return -1;
}

void GetCERanges(const CEPointList& points, double& minCost, double& maxCost, double& minEff, double& maxEff)
{
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint* p = points.Point(i);
        if (i == 0) {
            minCost = maxCost = p->cost;
            minEff = maxEff = p->effectiveness;
            continue;
        }
        if (p->cost < minCost)
            minCost = p->cost;
        if (p->cost > maxCost)
            maxCost = p->cost;
        if (p->effectiveness < minEff)
            minEff = p->effectiveness;
        if (p->effectiveness > maxEff)
            maxEff = p->effectiveness;
    }
}
