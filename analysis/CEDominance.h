#pragma once
// Builds the sorted list of cost-effectiveness points of a strategy set and marks the strategies that are
// dominated (another costs no more and is at least as effective) or extended-dominated (a blend of two
// neighbours on the frontier is better); every extended-dominated point records its two bracketing
// undominated neighbours and the coefficient-of-inequity bounds.

#include "analysis/CEPointList.h"

#include <cstdint>

class StrategySet;

// Appends one point per strategy in sorted position (ascending cost; among equal costs the more effective
// first, identical strategies in set order), then marks dominance. The list is expected to be empty.
void BuildCEPoints(const StrategySet& strategies, CEPointList& points, int extended);

// Sets every point's state and, for extended-dominated points (only when `extended` is nonzero), its
// neighbour indices and bounds. The list must be sorted as BuildCEPoints sorts it. A point that coincides
// with the last undominated point (both differences below 1e-10) is treated as the same strategy: it shares
// that point's final state.
void MarkDominatedPoints(CEPointList& points, int extended);

// True when a point lying (costDifference, effDifference) away from the last undominated point is dominated
// by it: it costs at least as much and is at most as effective, and the two do not coincide.
bool IsDominatedStep(double costDifference, double effDifference);

// (b.cost - a.cost) / (b.effectiveness - a.effectiveness).
double IncrementalRatio(const CEPoint& a, const CEPoint& b);

// The first index after i whose point is undominated, or -1.
int16_t NextUndominatedIndex(const CEPointList& points, int16_t i);

// The extremes of cost and effectiveness over all points; an empty list leaves the outputs untouched.
void GetCERanges(const CEPointList& points, double& minCost, double& maxCost, double& minEff, double& maxEff);
