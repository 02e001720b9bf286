#pragma once
// Variable substitution for sensitivity analyses: finding the definitions of a variable that a sweep
// overwrites, writing a step's value into them and putting their formulas back afterwards.

#include "analysis/VariableRange.h"

// When the node binds the variable (name upper-case), appends {definition, node, its formula text}.
bool AddDefinitionIfPresent(RangeBindingList& list, TreeNode* node, const char* upperName);
// The nearest definition from start up through its ancestors; with subtree, then every definition in the
// start node's subtree, depth first, not entering the contents of clone copies.
void CollectVariableDefinitions(RangeBindingList& list, TreeNode* start, const char* upperName, bool subtree);
// Every entry's definition becomes the number with that text, in clone copies too. Entries without a
// definition (the risk preference coefficient) are left to the analysis.
void SetBindings(RangeBindingList& list, double value, const char* text);
// Every entry's definition gets its saved text back, in clone copies too.
void RestoreBindings(RangeBindingList& list);
