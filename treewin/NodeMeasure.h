#pragma once
// The measured parts of a node and where they lie: its text, probability, second text, definitions box and
// roll-back box sizes, the rectangles of those parts from the node's place, hit-testing a point against a
// node and a subtree. Sizes and places are in inches.

#include "framework/draw/LogicalUnits.h"

class FontRecord;
struct TreeNode;
class TreeWindow;

// The parts a point can hit, in the order HitTestNode tries them: symbol, name, probability, second text,
// definitions box, roll-back box.
enum NodeRegion {
    NameRegion = 0,
    ProbabilityRegion = 1,
    SymbolRegion = 2,
    RollBackBoxRegion = 3,
    DefinitionsRegion = 4,
    SecondTextRegion = 5,
    NoRegion = 6,
};

constexpr float kSymbolSize = 0.115f;

// Measures the node on the window's measuring display; recursive: every shown child follows; otherwise the
// node's counterparts in clone copies are measured too (each alone). The roll-back box text (the result
// after roll back, else the plain label) gives the node's RollBackBoxWidth (0 without a box).
void MeasureNode(TreeWindow& window, TreeNode* node, bool recursive);

LogicalRect SymbolRect(const TreeNode* node);
LogicalRect NameRect(const TreeWindow& window, const TreeNode* node);
LogicalRect ProbRect(const TreeWindow& window, const TreeNode* node);
// Exact: the frame; otherwise inset by 0.05 for the text.
LogicalRect SecondTextRect(const TreeWindow& window, const TreeNode* node, bool exact);
// All 0 without a box; inner: inset by 0.04 vertically and 0.035 horizontally.
LogicalRect DefinitionsRect(const TreeWindow& window, const TreeNode* node, bool inner);
LogicalRect RollBackBoxRect(TreeWindow& window, const TreeNode* node);
// The width of a single line in the font (null: the window's font of the kind), in inches at zoom 1.
float MeasureTextWidth(TreeWindow& window, const FontRecord* own, int kind, const char* text);
// The height of a line in the font (null: the window's font of the kind), in inches at zoom 1.
float MeasureLineHeight(TreeWindow& window, const FontRecord* own, int kind);
bool RollBackBoxHidden(const TreeNode* node);
// The nearest node above (direction -1) or below (+1) at the node's depth, or null.
TreeNode* FindSameDepthNeighbour(TreeNode* node, int direction);

// Inside the node box, edges included, or inside the roll-back box where it shows (rolled back, or the
// text some nodes show there before, as a terminal's payoff) and is not hidden.
bool NodeContains(TreeWindow& window, const TreeNode* node, LogicalPoint point);
int HitTestNode(TreeWindow& window, const TreeNode* node, LogicalPoint point);
// The node of the subtree whose box or roll-back box holds the point; clone copies are hit only as a whole.
TreeNode* FindNodeAt(TreeWindow& window, TreeNode* node, LogicalPoint point);
