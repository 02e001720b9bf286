#pragma once
// Result columns beside the nodes where the tree visibly ends, after roll back: each column of the tree's
// list computes one number per such node (DisplayColumn kinds) and shows it formatted by its number format.
// The cells are kept in the nodes; the table text is what Copy Special's "Copy &columns at end nodes" puts
// on the clipboard.

#include "foundation/zString.h"

#include <vector>

class TreeDocument;
struct PaintContext;
class TreeWindow;
struct DisplayColumn;
struct ResultCell;
struct TreeNode;

struct ResultColumns {
    // The number of columns of the tree's column list; 0 while ShowColumns is off.
    static int Count(const TreeWindow& window);
};

struct ResultBoxes {
    // The tree is rolled back and shows at least one result column.
    static bool Shown(const TreeWindow& window);
    // In pre-order, the nodes without children or whose children are not shown; nothing below them.
    static void CollectNodes(TreeNode* root, std::vector<TreeNode*>& out);
    // Each collected node gets one cell per column, computed afresh; nothing while the columns are not shown.
    static void ComputeCells(TreeWindow& window);
    static void ComputeNodeCells(TreeDocument& document, TreeNode* node);
    // The cell's value and text; a cell that cannot be computed keeps an empty text.
    static void ComputeCell(TreeDocument& document, TreeNode* node, const DisplayColumn& column, ResultCell& cell);
    // The node's marginal value (kind 5, 6 or 7) against the strategy before it among its decision node's
    // children; false when there is none or it cannot be computed.
    static bool MarginalValue(const TreeDocument& document, const TreeNode* node, int kind, double& value);
    // After the tree's layout: every collected node's cells computed and measured, and each column placed,
    // 0.15 apart, from 0.15 right of the tree's right edge. The right end of the last column; 0 when the
    // columns are not shown.
    static float Layout(TreeWindow& window);
    // The headers, underlined, above the tree, and each collected node's row of texts, centred in their
    // columns on the node's branch line.
    static void Paint(TreeWindow& window, PaintContext& context);
    // "Node" and the headers, then a row per collected node: its name (at most 30 characters) and its cells'
    // texts, tab-separated, each line ended by CR LF. Empty unless the columns are shown.
    static void WriteTableText(TreeWindow& window, zString& out);
};
