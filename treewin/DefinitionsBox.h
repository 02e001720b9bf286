#pragma once
// The definitions box of a node: with full definitions shown in the tree (MarkNodesWithVars 2) the variable
// definitions bound at the node, one per line, and with ShowMarkovInfo its Markov information (termination
// conditions, rewards, transition rewards, state bindings). Built afresh for every measure and paint.

#include "framework/draw/MultiLineText.h"

#include <string>
#include <vector>

class Display;
struct TreeNode;
class TreeWindow;

// Appends the box's lines to the list (only counts them when the list is null); returns the count.
int BuildDefinitionLines(TreeNode* node, std::vector<std::string>* lines);
// Draws the box (draw) and measures it into the size (when given); the number of lines, 0 when the node has
// no box (the size is then left alone). Without WideVars only the height is measured and drawn lines are cut
// to the box with "...".
int PaintDefinitions(TreeWindow& window, TreeNode* node, Display& display, Display& reference, bool draw,
                     LogicalSize* size);
