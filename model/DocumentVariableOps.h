#pragma once
// What a tree document does with its variables: find, rename and delete them everywhere they occur, keep
// their correlations symmetric, fill menus and lists with their names, list a variable's definitions,
// refuse conflicting edits and give their descriptions. Each operation takes the tree window first.

#include "foundation/zString.h"

#include <vector>

class CorrelationList;
class DocVariable;
class DocVariableList;
class Expression;
class NameList;
class NodeChildList;
class TreeDocument;

// When the text (leading blanks skipped, "{T} " and anything after the name dropped) names a document
// variable, the text becomes the variable's exact name and the result is true.
bool FindVariableTrimmed(const TreeDocument& document, zString& text);

// Renames the variable, its bindings and every mention of it in the tree's formulas, the distributions'
// parameters, the cost-effectiveness formulas, the roll-back display's custom calculations, the other
// variables' correlations, the custom interface's parameter and the stored analyses (the last analysis's
// record included). An unknown old name does nothing.
void RenameVariable(TreeDocument& document, const char* oldName, const char* newName);
// Removes the variable's record, its bindings everywhere and its correlations. An unknown name does
// nothing.
void DeleteVariable(TreeDocument& document, const char* name);
// Replaces the variable's correlations by the entries of newEntries, keeping every correlation symmetric:
// the old partners forget the variable, the new ones record it with the same sign. newEntries is emptied.
void SetVariableCorrelations(TreeDocument& document, DocVariable& variable, CorrelationList* newEntries);

// Whole-word, any-case replacement of a variable name in a formula's text; a changed formula drops its
// parse tree. True when anything changed.
bool ReplaceVariableInFormula(Expression& formula, const char* oldName, const char* newName);


// The name, with "{T} " before it when the variable is a trial variable.
void VariableDisplayName(const TreeDocument& document, const char* name, zString& out);
// The number of trial ({T}) variables; appended to out in list order when out is given.
int ListFlaggedVariables(const TreeDocument& document, std::vector<DocVariable*>* out);
// The variable's comment, else its short description; empty when there is no such variable.
void GetVariableDescription(const TreeDocument& document, const char* name, zString& out);

// 1 when the item (a variable's name or a fixed "***" key) may be edited at every node; 0 while the tree
// shows rolled-back values, and 0 at the first node that a window of the document's view already
// edits (with ask the view offers to bring that window up), the later nodes not asked.
int CheckEditConflict(TreeDocument& document, const NodeChildList& nodes, const char* name, bool ask);

// The texts of the variable choices (combo box) and of the variable rows (list box, TAB-separated
// columns) by mode, appended to out. In mode 1 a star marks a variable every selected node binds, and the
// choices leave out a variable a window edits at a selected node.
void FillVariableChoices(TreeDocument& document, NameList& out, int mode, const NodeChildList* selection = nullptr);
void FillVariableRows(TreeDocument& document, NameList& out, int mode, const NodeChildList* selection = nullptr);

// Lists the definitions of the name in the whole tree, or says that there is none.
void ShowVariableDefinitions(TreeDocument& document, const char* name);
// The lines that ShowVariableDefinitions shows: label, TAB, value ("???" when it cannot be evaluated),
// TAB, formula, in pre-order.
void CollectVariableDefinitionLines(TreeDocument& document, const char* name, NameList& lines);

// "+x, -y": each entry's sign and the name as the document's variable list spells it (the stored name when
// the document does not know it), separated by ", "; empty for an empty or absent list.
void FormatCorrelationText(const TreeDocument* document, const CorrelationList* list, zString& out);
