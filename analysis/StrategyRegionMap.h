#pragma once
// The results of a two- or three-way sensitivity sweep: every strategy (branch of the analysed decision node)
// at every point of a grid over two variables X and Y. Graphs draw its regions and boundaries.

#include "formula/RunOutcome.h"
#include "foundation/ValueTriple.h"
#include "foundation/zString.h"

#include <cstdint>
#include <vector>

class Archive;
class NumericFormat;
class TextReport;
class TreeDocument;
class TreeNode;

class StrategyRegionMap {
public:
    // The most cells a stored map may claim; a damaged record asking more is refused.
    static constexpr int64_t kMaxCells = 1 << 22;

    // xCount and yCount are intervals + 1. The cells start zeroed; when they cannot be allocated the map
    // stays empty and IsAllocated() is false. A null node gives a maximizing map without cost-effectiveness.
    StrategyRegionMap(TreeNode* node, int xCount, int yCount, int strategies, double xLow, double xHigh,
                      double yLow, double yHigh);
    // Reads a map stored by Serialize.
    explicit StrategyRegionMap(Archive& archive);
    StrategyRegionMap(const StrategyRegionMap&) = delete;
    StrategyRegionMap& operator=(const StrategyRegionMap&) = delete;
    ~StrategyRegionMap();

    bool IsAllocated() const { return !cells.empty(); }
    int32_t CellCount() const { return static_cast<int32_t>(strategies) * xCount * yCount; }
    // Strategies vary fastest, then x, then y.
    int32_t CellIndex(int s, int y, int x) const { return s + strategies * (x + xCount * y); }
    ValueTriple& Cell(int s, int y, int x) { return cells[CellIndex(s, y, x)]; }
    const ValueTriple& Cell(int s, int y, int x) const { return cells[CellIndex(s, y, x)]; }
    double Value(int s, int y, int x) const { return Cell(s, y, x).value; }
    double Cost(int s, int y, int x) const { return Cell(s, y, x).cost; }
    double Effectiveness(int s, int y, int x) const { return Cell(s, y, x).effectiveness; }
    // What strategies are compared by: the cost under cost-effectiveness, otherwise the value.
    double Comparison(int s, int y, int x) const { return costEffectiveness ? Cost(s, y, x) : Value(s, y, x); }
    // Rolls the strategy node back into the cell; an index outside the map sets *error instead.
    void EvaluateCell(int s, int y, int x, TreeNode* strategy, RunFault* error);
    // a is better than b in the analysed tree's direction (ties count as better).
    bool IsBetter(double a, double b) const;

    // Variable values of (fractional) steps.
    double XAt(double step) const { return xCount > 1 ? xLow + (xHigh - xLow) * step / (xCount - 1) : xLow; }
    double YAt(double step) const { return yCount > 1 ? yLow + (yHigh - yLow) * step / (yCount - 1) : yLow; }
    // The best of the strategies' component (ComponentValue, ComponentCost, ComponentEffectiveness)
    // interpolated bilinearly at fractional steps, largest when maximizing, otherwise smallest.
    double BestValueAt(double y, double x, int component) const;

    // The map as a text table: when the table has no columns yet, the widths (116, then 80 per x step) and
    // the headers "   <X> =>" and the x values; then the Y name and, from the last y step down, one row per
    // strategy (the first led by the y value) with the cells' values in six significant digits, and an empty
    // row after each y step. X values are written in the X format, Y values in the Y format, each with its
    // places for expected values (an axis format's axis places) plus one.
    void ExportText(TextReport& table, const zString& xName, const zString& yName, const NumericFormat& xFormat,
                    const NumericFormat& yFormat) const;

    // Stored form:
    //   version record                               3 bytes
    //   x low, y low, x high, y high, reserved 0     5 doubles
    //   Y count, X count, strategies, maximizing     4 shorts
    //   cells                                        triple array (one double per cell before 3.5)
    //   labels                                       one stored string per strategy
    //   cost-effectiveness                           short (from 3.5 on)
    void Serialize(Archive& archive);

    double xLow = 0.0;
    double yLow = 0.0;
    double xHigh = 0.0;
    double yHigh = 0.0;
    int32_t yCount = 0;
    int32_t xCount = 0;
    int32_t strategies = 0;
    bool maximizing = true;
    bool costEffectiveness = false;
    std::vector<zString> labels;
    TreeDocument* document = nullptr;
    TreeNode* node = nullptr;

private:
    bool Allocate();

    std::vector<ValueTriple> cells;
};
