#pragma once
// The layout of a tree window: the width of every column, the place of every node from its measured size, the
// vertical stacking of subtrees and the bounds of the whole drawing, in inches. Left to right: the root in
// column 0, each generation one column (plus the parent's skipped columns) further right. Every walk keeps its
// own stack, so trees a million nodes deep or wide lay out without recursion.

#include "model/TreeDisplayPrefs.h"

#include <cstdint>
#include <vector>

struct TreeNode;

struct LayoutPoint {
    float x = 0.0f;
    float y = 0.0f;
};

struct LayoutRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// How far right the roll-back boxes of a laid-out tree's nodes without shown children reach, and the width of
// the box that reaches furthest.
struct LeafReach {
    float right = 0.0f;
    float overhang = 0.0f;
};

class TreeLayout {
public:
    static constexpr float kDefaultColumnWidth = 0.8f;
    static constexpr float kTreeStart = 0.25f;
    static constexpr float kEndNodeGap = 0.02f;
    static constexpr float kMargin = 0.25f;

    // Lays the tree out from the measured node sizes (NodeGeometry); the root may be null. The notes
    // rectangle (the note boxes and arrows drawn with the tree, grown by the margin; null when there are
    // none) joins the bounds. A note or arrow above or left of the drawing moves the tree down or right by
    // as much: the answer is how far the notes must then move (subtract it from their places); with the
    // notes back beside the tree the tree returns to the top left.
    LayoutPoint Relayout(TreeNode* root, const TreeDisplayPrefs& prefs, const LayoutRect* notes = nullptr);

    // A column's width: the stored one, or the default beyond the stored ones.
    float ColumnWidth(int column) const;
    // Grows the widths with default entries up to the column; a negative width stores the default.
    void SetColumnWidth(int column, float width);
    float ColumnGap() const { return branchesAt90 ? 0.1f : 0.25f; }
    // The gap after a column: the column gap, or wider where a roll-back box of the column's nodes with
    // shown children needs the room before the next column's names.
    float GapAfter(int column) const;
    // How far after the node's symbol its branches to the children part: past its roll-back box (where the
    // box shows, with its frame and a dragged box's move to the right), else at the symbol (0).
    static float BranchSplit(const TreeNode* node);
    // Width of the node's column and the columns its branch skips, with the gaps between them.
    float BranchLength(int column, int skipCount) const;
    // The column of a node: the sum over its ancestors of their skipped columns + 1.
    static int Column(const TreeNode* node);
    // Moves the node and its whole shown subtree.
    static void Offset(TreeNode* node, float dx, float dy);

    int ColumnCount = 0;
    float TotalWidth = 0.0f;
    // Offset of the whole tree from its computed place; kept from one layout to the next.
    LayoutPoint Origin;
    LayoutRect DrawingBounds;

private:
    void MeasureColumns(TreeNode* root);
    LeafReach Position(TreeNode* root, const TreeDisplayPrefs& prefs);
    LayoutPoint UpdateExtents(TreeNode* root, const LeafReach& reach, const LayoutRect* notes);

    std::vector<float> columnWidths;
    std::vector<float> columnGaps;
    bool branchesAt90 = false;
};
