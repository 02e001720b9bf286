#include "treewin/TreeLayout.h"

#include "model/NodeLinkBlock.h"
#include "model/TreeNode.h"

#include <algorithm>

namespace {

// A roll-back box starts this far after its node's symbol; its frame stands this far outside its text.
constexpr float kRollBackBoxGap = 0.1f;
constexpr float kRollBackBoxFrame = 0.03f;

bool HasShownChildren(const TreeNode* node)
{
    return node->childCount > 0 && node->ChildrenShown();
}

// Moves the node now and records the move for its descendants, which the settle walk applies later: moving
// each subtree at once would cost the subtree's size at every level of a deep tree.
void OffsetLazily(TreeNode* node, float dx, float dy)
{
    NodeGeometry& g = node->Geometry();
    g.X += dx;
    g.SymbolX += dx;
    g.Y += dy;
    g.YBottom += dy;
    g.SubtreeTop += dy;
    if (HasShownChildren(node)) {
        g.PendingDx += dx;
        g.PendingDy += dy;
    }
}

// Hands every recorded move down to the shown children, top down, until no node holds one. With `reach`, the
// walk also finds how far right the roll-back boxes of the nodes without shown children reach (each is in
// its final place when the walk comes to it).
void SettleOffsets(TreeNode* root, LeafReach* reach = nullptr)
{
    std::vector<TreeNode*> pending{root};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (!HasShownChildren(node)) {
            const NodeGeometry& g = node->Geometry();
            if (reach != nullptr && g.SymbolX + g.RollBackBoxWidth > reach->right) {
                reach->right = g.SymbolX + g.RollBackBoxWidth;
                reach->overhang = g.RollBackBoxWidth;
            }
            continue;
        }
        NodeGeometry& g = node->Geometry();
        for (int i = 0; i < node->childCount; ++i) {
            TreeNode* child = node->GetChild(i);
            if (g.PendingDx != 0.0f || g.PendingDy != 0.0f)
                OffsetLazily(child, g.PendingDx, g.PendingDy);
            pending.push_back(child);
        }
        g.PendingDx = 0.0f;
        g.PendingDy = 0.0f;
    }
}

} // namespace

float TreeLayout::ColumnWidth(int column) const
{
    if (column >= 0 && column < static_cast<int>(columnWidths.size()))
        return columnWidths[column];
    return kDefaultColumnWidth;
}

void TreeLayout::SetColumnWidth(int column, float width)
{
    if (column < 0)
        return;
    if (column >= static_cast<int>(columnWidths.size()))
        columnWidths.resize(column + 1, kDefaultColumnWidth);
    columnWidths[column] = width < 0.0f ? kDefaultColumnWidth : width;
}

float TreeLayout::GapAfter(int column) const
{
    if (column >= 0 && column < static_cast<int>(columnGaps.size()))
        return std::max(ColumnGap(), columnGaps[column]);
    return ColumnGap();
}

float TreeLayout::BranchSplit(const TreeNode* node)
{
    const float box = node->Geometry().RollBackBoxWidth;
    const NodeLinkBlock* block = node->linkBlock.get();
    if (box <= 0.0f || (block != nullptr && block->rollBackBoxHidden != 0))
        return 0.0f;
    const float moved = block != nullptr ? std::max(0.0f, block->rollBackBoxOffset[0]) : 0.0f;
    return kRollBackBoxGap + box + kRollBackBoxFrame + moved;
}

float TreeLayout::BranchLength(int column, int skipCount) const
{
    float length = 0.0f;
    for (int i = 0; i <= skipCount; ++i)
        length += ColumnWidth(column + i) + (i < skipCount ? GapAfter(column + i) : 0.0f);
    return length;
}

int TreeLayout::Column(const TreeNode* node)
{
    int column = 0;
    for (const TreeNode* up = node->parent; up != nullptr; up = up->parent)
        column += up->columnShift + 1;
    return column;
}

void TreeLayout::Offset(TreeNode* node, float dx, float dy)
{
    OffsetLazily(node, dx, dy);
    SettleOffsets(node);
}

LayoutPoint TreeLayout::Relayout(TreeNode* root, const TreeDisplayPrefs& prefs, const LayoutRect* notes)
{
    branchesAt90 = prefs.BranchesAt90 != 0;
    columnWidths.clear();
    columnGaps.clear();
    ColumnCount = 0;
    TotalWidth = 0.0f;
    DrawingBounds = LayoutRect{};
    if (root == nullptr)
        return LayoutPoint{};
    MeasureColumns(root);
    TotalWidth = kTreeStart + ColumnWidth(0);
    for (int column = 1; column < ColumnCount; ++column)
        TotalWidth += ColumnWidth(column) + GapAfter(column - 1);
    return UpdateExtents(root, Position(root, prefs), notes);
}

// Every column as wide as its widest node (at least the default), and the number of columns in use: the
// furthest column a shown end node's branch reaches.
void TreeLayout::MeasureColumns(TreeNode* root)
{
    std::vector<std::pair<TreeNode*, int>> pending{{root, 0}};
    while (!pending.empty()) {
        TreeNode* node = pending.back().first;
        const int column = pending.back().second;
        pending.pop_back();
        if (node->Geometry().BoxWidth > ColumnWidth(column))
            SetColumnWidth(column, node->Geometry().BoxWidth);
        if (!HasShownChildren(node)) {
            ColumnCount = std::max(ColumnCount, column + node->columnShift + 1);
            continue;
        }
        // The node's branches part after its roll-back box: the gap before the children keeps a column
        // gap beyond that point.
        if (const float split = BranchSplit(node); split > 0.0f) {
            const int last = column + node->columnShift;
            if (last >= static_cast<int>(columnGaps.size()))
                columnGaps.resize(last + 1, 0.0f);
            columnGaps[last] = std::max(columnGaps[last], split + ColumnGap());
        }
        for (int i = node->childCount - 1; i >= 0; --i)
            pending.emplace_back(node->GetChild(i), column + node->columnShift + 1);
    }
}

namespace {

// One node on Position's stack.
struct PlaceFrame {
    TreeNode* node;
    int column;
    int cursor;  // the cursor entry of the node's column
    int nextChild;
};

// The vertical cursors of Position: where the next box may start. One running cursor, or with PackTreeVert
// one per column (entry column + 1) between two sentinel zeros.
class VerticalCursors {
public:
    VerticalCursors(bool pack, int columnCount) : pack(pack)
    {
        if (pack) {
            cursors.assign(columnCount + 2, TreeLayout::kTreeStart);
            cursors.front() = 0.0f;
            cursors.back() = 0.0f;
        } else {
            cursors.assign(1, TreeLayout::kTreeStart);
        }
        lastEntry = static_cast<int>(cursors.size()) - (pack ? 2 : 1);
    }
    float& operator[](int entry) { return cursors[entry]; }
    int spannedEnd(const PlaceFrame& frame) const
    {
        return pack ? std::min(frame.cursor + frame.node->columnShift, lastEntry) : frame.cursor;
    }
    void setSpanned(const PlaceFrame& frame, float value)
    {
        for (int i = frame.cursor; i <= spannedEnd(frame); ++i)
            cursors[i] = value;
    }
    float largestSpanned(const PlaceFrame& frame, float start) const
    {
        for (int i = frame.cursor; i <= spannedEnd(frame); ++i)
            start = std::max(start, cursors[i]);
        return start;
    }

    const bool pack;
    int lastEntry = 0;

private:
    std::vector<float> cursors;
};

// Places the frame's node once all its children are placed, and sets its subtree's extent; moves the node
// down, with its subtree, where it would reach above the room left for it.
void PlaceParent(const PlaceFrame& frame, VerticalCursors& cursors)
{
    const bool pack = cursors.pack;
    const int lastEntry = cursors.lastEntry;
    TreeNode* node = frame.node;
    NodeGeometry& g = node->Geometry();
    // Every child is placed: centre the node on the branch lines of its first and last child.
    const NodeGeometry& first = node->GetChild(0)->Geometry();
    const NodeGeometry& last = node->GetChild(node->childCount - 1)->Geometry();
    g.Y = (first.BranchY() + last.BranchY()) / 2.0f - g.BranchOffset();
    g.SubtreeTop = first.SubtreeTop;
    g.YBottom = g.Y + g.BoxHeight;

    // A node reaching above the room left for it moves down with its whole subtree.
    const float shift = pack ? cursors.largestSpanned(frame, cursors[frame.cursor]) - g.Y : g.SubtreeTop - g.Y;
    if (shift > 0.0f) {
        OffsetLazily(node, 0.0f, shift);
        if (pack) {
            cursors.setSpanned(frame, g.YBottom + TreeLayout::kEndNodeGap);
            for (int i = cursors.spannedEnd(frame) + 1; i <= lastEntry; ++i)
                if (cursors[i] > TreeLayout::kTreeStart)
                    cursors[i] += shift;
        } else {
            cursors[0] += shift;
        }
    } else if (pack) {
        cursors.setSpanned(frame, g.YBottom + TreeLayout::kEndNodeGap);
    }

    // The children's places still lack this node's own move (g.PendingDy).
    float bottom = g.YBottom;
    if (pack) {
        g.SubtreeTop = g.Y;
        for (int i = 0; i < node->childCount; ++i) {
            const NodeGeometry& child = node->GetChild(i)->Geometry();
            g.SubtreeTop = std::min(g.SubtreeTop, child.SubtreeTop + g.PendingDy);
            bottom = std::max(bottom, child.SubtreeTop + g.PendingDy + child.SubtreeHeight);
        }
    } else if (last.SubtreeTop + g.PendingDy + last.SubtreeHeight > bottom) {
        bottom = last.SubtreeTop + g.PendingDy + last.SubtreeHeight;
    } else {
        cursors[0] = bottom;
    }
    if (g.SubtreeTop > g.Y)
        g.SubtreeTop = g.Y;
    g.SubtreeHeight = bottom - g.SubtreeTop;
}

} // namespace

// Places every node, children before their parent.
LeafReach TreeLayout::Position(TreeNode* root, const TreeDisplayPrefs& prefs)
{
    VerticalCursors cursors(prefs.PackTreeVert != 0, ColumnCount);
    const bool pack = cursors.pack;
    const int lastEntry = cursors.lastEntry;
    auto enter = [&](TreeNode* node, float x, int column, int cursor) {
        NodeGeometry& g = node->Geometry();
        g.PendingDx = g.PendingDy = 0.0f;
        g.Column = column;
        g.X = x;
        g.SymbolX = node->IsTerminal() && prefs.AlignEndNodes ? TotalWidth
                                                              : x + BranchLength(column, node->columnShift);
        return PlaceFrame{node, column, cursor, 0};
    };

    std::vector<PlaceFrame> stack{enter(root, kTreeStart, 0, pack ? 1 : 0)};
    while (!stack.empty()) {
        PlaceFrame& frame = stack.back();
        TreeNode* node = frame.node;
        NodeGeometry& g = node->Geometry();
        if (!HasShownChildren(node)) {
            const float top = cursors.largestSpanned(frame, 0.0f);
            g.Y = g.SubtreeTop = top;
            g.SubtreeHeight = g.BoxHeight;
            g.YBottom = top + g.BoxHeight;
            cursors.setSpanned(frame, g.YBottom + kEndNodeGap);
            stack.pop_back();
            continue;
        }
        if (frame.nextChild < node->childCount) {
            TreeNode* child = node->GetChild(frame.nextChild++);
            const int skip = node->columnShift + 1;
            const int childCursor = pack ? std::min(frame.cursor + skip, lastEntry) : 0;
            const PlaceFrame next = enter(child, g.SymbolX + GapAfter(frame.column + node->columnShift),
                                          frame.column + skip, childCursor);
            stack.push_back(next);  // invalidates frame
            continue;
        }

        PlaceParent(frame, cursors);
        stack.pop_back();
    }
    LeafReach reach;
    SettleOffsets(root, &reach);
    return reach;
}

// The bounds of the drawing: the tree with margins and the widest end-node label beyond the last column,
// moved by the tree's origin.
LayoutPoint TreeLayout::UpdateExtents(TreeNode* root, const LeafReach& reach, const LayoutRect* notes)
{
    const float treeWidth = TotalWidth - root->Geometry().X;
    DrawingBounds = {0.0f, 0.0f, 2 * kMargin + treeWidth + reach.overhang, 2 * kMargin + root->Geometry().SubtreeHeight};

    // The upper-left of the tree and the notes is always (0, 0): whichever lies further up or left is
    // brought back there, and the other moves with it.
    LayoutRect moved = notes != nullptr ? *notes : LayoutRect{};
    const LayoutPoint shift{std::min(moved.left, Origin.x), std::min(moved.top, Origin.y)};
    if (shift.x != 0.0f || shift.y != 0.0f) {
        moved = LayoutRect{moved.left - shift.x, moved.top - shift.y, moved.right - shift.x, moved.bottom - shift.y};
        Origin.x -= shift.x;
        Origin.y -= shift.y;
    }
    if (Origin.x != 0.0f || Origin.y != 0.0f) {
        DrawingBounds.right += Origin.x;
        DrawingBounds.bottom += Origin.y;
        Offset(root, Origin.x, Origin.y);
    }
    const NodeGeometry& g = root->Geometry();
    DrawingBounds.left = std::min({DrawingBounds.left, g.X, moved.left});
    DrawingBounds.top = std::min({DrawingBounds.top, g.Y, moved.top});
    DrawingBounds.right = std::max({DrawingBounds.right, g.SymbolX, moved.right});
    DrawingBounds.bottom = std::max({DrawingBounds.bottom, g.YBottom, moved.bottom});
    // Aligned end nodes stand at TotalWidth: it moves with the tree.
    TotalWidth += Origin.x;
    return shift;
}
