#pragma once
// The results of a one-way sweep: one value triple per series (a strategy of the analysed node) and per
// step of the varied variable; step t stands for low + (high - low) * t / intervals.

#include "foundation/ValueTriple.h"

#include <cstdint>

struct TreeNode;
class TreeDocument;

class SensitivityResultGrid {
public:
    // An empty grid, to be read.
    SensitivityResultGrid() = default;
    // intervals + 1 steps for each of `series` series, every cell zero.
    SensitivityResultGrid(TreeNode* node, int16_t intervals, int16_t series, double low, double high);
    SensitivityResultGrid(const SensitivityResultGrid&) = delete;
    SensitivityResultGrid& operator=(const SensitivityResultGrid&) = delete;
    virtual ~SensitivityResultGrid();

    // The cell of series i at step t: item (intervals + 1) * i + t.
    ValueTriple& Cell(int i, int t) const { return cells[(intervals + 1) * i + t]; }
    double* CellAt(int i, int t) const { return &Cell(i, t).cost; }
    double* SecondAt(int i, int t) const { return &Cell(i, t).effectiveness; }
    double* ThirdAt(int i, int t) const { return &Cell(i, t).value; }

    TreeNode* Node() const { return node; }
    TreeDocument* Document() const { return document; }
    int16_t Intervals() const { return intervals; }
    int16_t Series() const { return series; }
    int16_t CellCount() const { return cellCount; }
    double Low() const { return low; }
    double High() const { return high; }

private:
    TreeNode* node = nullptr;
    TreeDocument* document = nullptr;
    int16_t intervals = 0;
    int16_t series = 0;
    int16_t cellCount = 0;
    double low = 0.0;
    double high = 0.0;
    ValueTriple* cells = nullptr;
};
