#pragma once
// The results of a one-way sweep: one value triple per series (a strategy of the analysed node) and per
// step of the varied variable; step t stands for low + (high - low) * t / intervals. The grid also finds the
// thresholds where the optimal series changes.

#include "formula/RunOutcome.h"
#include "foundation/FormattedValue.h"
#include "foundation/PtrArray.h"
#include "foundation/ValueTriple.h"

#include <cstdint>
#include <functional>

class Archive;
class NameList;
class TextReport;
struct CEFormats;
class NumericFormat;
struct TreeNode;
class TreeDocument;

// One threshold: where series first and second meet, at x with value; node is the strategy optimal just
// below x.
struct ThresholdPoint {
    int16_t first = 0;
    int16_t second = 0;
    double x = 0.0;
    double value = 0.0;
    int32_t reserved = 0;
    TreeNode* node = nullptr;
};

class ThresholdList : public PtrArray {
public:
    ThresholdList() : PtrArray(2, true) {}
    ~ThresholdList() override { Clear(); }
    ThresholdPoint* At(int i) const { return static_cast<ThresholdPoint*>(PtrArray::At(i)); }
    void DeleteItem(void* item) override { delete static_cast<ThresholdPoint*>(item); }
};

class SensitivityResultGrid {
public:
    // The stored form counts cells in 16 bits; a larger grid is refused before it is made.
    static constexpr int32_t kMaxCells = 32767;
    static bool SizeFits(int32_t intervals, int32_t series);

    // An empty grid, to be read.
    SensitivityResultGrid() = default;
    // intervals + 1 steps for each of `series` series, every cell zero.
    SensitivityResultGrid(TreeNode* node, int32_t intervals, int32_t series, double low, double high);
    SensitivityResultGrid(const SensitivityResultGrid&) = delete;
    SensitivityResultGrid& operator=(const SensitivityResultGrid&) = delete;
    virtual ~SensitivityResultGrid();

    // The cell of series i at step t: item (intervals + 1) * i + t.
    ValueTriple& Cell(int i, int t) const { return cells[(intervals + 1) * i + t]; }
    double* CellAt(int i, int t) const { return &Cell(i, t).cost; }
    double* SecondAt(int i, int t) const { return &Cell(i, t).effectiveness; }
    double* ThirdAt(int i, int t) const { return &Cell(i, t).value; }
    // Rolls node back into the cell (series i, step t); returns its value.
    double EvaluateCell(int i, int t, TreeNode* evaluated, RunFault* error);
    // The x of step t.
    double StepX(int t) const { return low + (high - low) * t / intervals; }

    // A new grid with the same fields and a copy of the cells.
    [[nodiscard]] SensitivityResultGrid* Clone() const;
    // Series i step by step: component 1 costs, 2 effectivenesses, 0 or 3 values; out holds intervals + 1.
    void CopySeries(int i, double* out, int component) const;
    // The smallest and largest cost, effectiveness and cost/effectiveness ratio of all cells; false when
    // some effectiveness is below 1e-10 in magnitude (those cells take no part in the ratio range).
    bool Extremes(double& minCost, double& maxCost, double& minEff, double& maxEff, double& minRatio,
                  double& maxRatio) const;
    // Low and high of one component (1 cost, 2 effectiveness, 3 ratio); false only for a ratio range that
    // left cells out.
    bool ComponentRange(int component, double& low, double& high) const;
    // For each step, series i's increment against the nearest earlier undominated strategy of the step's
    // cost-effectiveness list (mode 1 cost, 2 effectiveness, 3 ratio); -0.0001 where there is none.
    void MarginalCEByStep(int i, double* out, int mode) const;
    // The cost-effectiveness table of every step (or of step `step` alone) into the report, each step's
    // strategies labelled with its x in the leading column `rowLabelTitle`. eliminate < 0 asks whether extended-dominated strategies go (never
    // for one series). Strategies are named by `names`, else by the branches.
    void CEOptimalByStep(TextReport& report, const char* rowLabelTitle, const NameList* names, const CEFormats& formats, int eliminate,
                         int step = -1) const;
    // Stored form: version record, intervals, series and cell count (16-bit), low and high, the cells.
    void Serialize(Archive& archive);

    // Fills list with the points where the optimal series changes, over the whole grid (start -1) or between
    // steps start and start + 1, comparing the component (0 or ComponentValue, ComponentCost,
    // ComponentEffectiveness).
    void FindOptimalChanges(ThresholdList& list, int start, int component);
    // The better of series a and b differs between steps t - 1 and t; 0 stops the search. By default adds
    // the crossing of the two segments when no third series is better there.
    virtual int AddCrossing(ThresholdList& list, int a, int b, int t, int component);
    // The crossing of series a and b between steps t - 1 and t, when they cross there and no third series is
    // better at that point.
    bool OptimalCrossing(int a, int b, int t, int component, double& x, double& value) const;
    // True when no series is better than v at step t0, or at fraction f of the way to step t1 (t1 >= 0).
    bool IsOptimalValue(double v, double f, int t0, int t1, int component) const;
    // Appends a threshold unless one lies within 1e-10 of x already.
    static void AddThreshold(ThresholdList& list, TreeNode* node, int a, int b, double x, double value);

    TreeNode* Node() const { return node; }
    TreeDocument* Document() const { return document; }
    int32_t Intervals() const { return intervals; }
    int32_t Series() const { return series; }
    int32_t CellCount() const { return cellCount; }
    double Low() const { return low; }
    double High() const { return high; }

    // The branch of series a or b that was better at step t - 1.
    TreeNode* BetterBelow(int a, int b, int t, int component) const;

    static constexpr double kNoValue = -0.0001;

private:
    double Value(int i, int t, int component) const { return Cell(i, t).Component(component); }

    TreeNode* node = nullptr;
    TreeDocument* document = nullptr;
    int32_t intervals = 0;
    int32_t series = 0;
    int32_t cellCount = 0;
    double low = 0.0;
    double high = 0.0;
    ValueTriple* cells = nullptr;
};

// The range proposed for a variable: its stored sensitivity range, else its definition's value at the node
// (the tree default without a node), texts kept for constants; false (0 to 0) when there is neither.
bool ReadStoredRange(const char* name, TreeNode* node, TreeDocument* document, double& low, double& high,
                     FormattedValue* lowValue = nullptr, FormattedValue* highValue = nullptr);
// Asks whether a cost-effectiveness report eliminates extended-dominated strategies, starting from the given
// answer; without an installed question the answer stays.
using ExtendedDominanceQuestion = std::function<int(int initial)>;
ExtendedDominanceQuestion SetExtendedDominanceQuestion(ExtendedDominanceQuestion question);
// Appends each branch's text cut to 30 characters.
void BranchNames(const TreeNode* node, NameList& names);
// Switches the format to fixed decimals suited to an axis from low to high in that many intervals: large
// ranges in thousands, millions or billions. Its numbers show the places the low end and the step need (at
// most kMostAxisPlaces) and, unscaled, at least the format's places for values.
constexpr int kMostAxisPlaces = 4;
void AutoFormatForRange(NumericFormat& format, double low, double high, int intervals);
