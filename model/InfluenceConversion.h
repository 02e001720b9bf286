#pragma once
// An influence diagram made into a decision tree. Its events, in the order of the tree's levels, become
// branches (chance and decision events), variable definitions (deterministic events, and the values of
// the others) and payoffs (the final value event); the arcs' rows force, eliminate or skip branches, and
// events observed before an event that influences them read Bayes-revised probabilities. The same builder
// lays out one node's probability or value table as a small tree whose end nodes are the table's rows.

#include "model/InfluenceBayes.h"

#include <string>
#include <vector>

class InfluenceDocument;
class InfluenceNodeRecord;
class TreeDocument;
struct TreeNode;

// What the builder makes: the rows of a probability table (1), of a value table (2), or the whole tree (3).
enum class ConversionMode : int { Probabilities = 1, Values = 2, Tree = 3 };

// One row of a prepared table: an end node of its tree, the states that lead to it and the table's cell
// there.
struct PreparedRow {
    TreeNode* node;
    PathAssignment assignment;
    DefinitionCell cell;
};

// The checked diagram (its final node given) as a tree in the document, built below its root; rootText
// names the root when not empty. The tree takes the diagram's links, number format and optimal direction.
void ConvertDiagramToTree(InfluenceDocument& diagram, InfluenceNodeRecord* finalNode, const char* rootText,
                          TreeDocument& tree);

// A table laid out for editing, or why it may not be: the person's text and the nodes to select.
struct PreparedTable {
    std::vector<PreparedRow> rows;
    std::string text;
    std::vector<InfluenceNodeRecord*> nodes;
};

// The node's table (InfluenceNodeRecord::ProbabilityTable or ValueTable) laid out in the document, after
// the checks: no influence loop through the arcs that key the table, and every keying event complete. The
// states keying the table branch in order, and each end node that the table's cell reaches is a row (marked
// by a payoff of one blank unless the node is a value node); paths on which the node gives no branch end in
// a terminal line (kind 8). A table without rows is refused too.
PreparedTable PrepareNodeTable(InfluenceDocument& diagram, InfluenceNodeRecord& node, int table, TreeDocument& tree);
// Writes the rows' cells into the table (each found exactly by its states); cells of no row stay.
void ApplyPreparedRows(DefinitionTreeNode& table, const std::vector<PreparedRow>& rows);

// A cell written into a tree node: as the branch probability (a variable cell binds its definition at the
// parent), or as the node's value (a terminal's payoff, else a binding of the event's variable).
void ApplyCellAsProbability(const DefinitionCell& cell, TreeNode& node);
void ApplyCellAsValue(const DefinitionCell& cell, TreeNode& node, bool terminal, const char* variableName);
// Binds the name at the node unless the node or one of its ancestors defines it already.
void BindUnlessDefined(TreeNode& node, const char* name, const char* expression);
