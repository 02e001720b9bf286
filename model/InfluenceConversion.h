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

// The node's table (InfluenceNodeRecord::ProbabilityTable or ValueTable) laid out in the document: the
// states keying it branch in order, and each end node that the table's cell reaches is a row (marked by a
// payoff of one blank unless the node is a value node). Paths on which the node gives no branch end in a
// terminal line (kind 8) without a row.
std::vector<PreparedRow> PrepareNodeTable(InfluenceDocument& diagram, InfluenceNodeRecord& node, int table,
                                          TreeDocument& tree);

// A cell written into a tree node: as the branch probability (a variable cell binds its definition at the
// parent), or as the node's value (a terminal's payoff, else a binding of the event's variable).
void ApplyCellAsProbability(const DefinitionCell& cell, TreeNode& node);
void ApplyCellAsValue(const DefinitionCell& cell, TreeNode& node, bool terminal, const char* variableName);
// Binds the name at the node unless the node or one of its ancestors defines it already.
void BindUnlessDefined(TreeNode& node, const char* name, const char* expression);
