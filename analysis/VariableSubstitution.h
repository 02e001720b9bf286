#pragma once
// Variable substitution for sensitivity analyses: finding the definitions of a variable that a sweep
// overwrites, writing a step's value into them and putting their formulas back afterwards.

#include "analysis/SensitivityRangeSet.h"
#include "analysis/VariableRange.h"

class NameList;
struct StoredAnalysis;
class TreeDocument;

#include <functional>

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

// Reads the parameter texts of a stored record in order.
struct StoredItemReader {
    const NameList& list;
    int next = 0;
    // The next text, or null at the end.
    const zString* Next();
};
// The next item as a number; a missing or unreadable item sets error. Nothing is read once error is set.
double ReadNumberItem(StoredItemReader& items, int& error);
// The message of a sweep whose results cannot be allocated.
extern const char* const kNotEnoughMemoryText;
// The variable's label (its short description, else its name); the name itself when it is no document variable.
zString VariableLabel(const TreeDocument* document, const zString& name);

// The text of item i of a stored record's parameters, empty when there is none.
const char* StoredItemText(const NameList& items, int i);
// Item i as a decimal integer; false when it is missing, empty or not wholly a number.
bool ReadIntegerItem(const NameList& items, int i, long& out);
// "\r\nAt Node \"<node>\"" with the text, cut to 30 characters, of the node the path names from the root (nothing
// between the quotes when it names none).
void AppendAtNode(zString& text, TreeDocument* document, const char* path);
// Appends the number as a decimal text item.
void AddNumberItem(NameList& items, long number);
// A new stored record of the kind whose first item is the node's path.
[[nodiscard]] StoredAnalysis* NewStoredRecordAt(int kind, const TreeNode* node, int templateAllowed);
// The next item as a value's text and its number; a missing item sets error.
void ReadValueItem(StoredItemReader& items, int& error, FormattedValue& value);
// The risk preference coefficient as a sweep saves it (nine significant digits).
void CoefficientText(const TreeDocument* document, zString& out);

// Text form of a binding list: the count, then per entry the node's path and display text, or the single
// item "$$ Risk Pref $$" for the risk preference coefficient.
void StoreBindingsText(const RangeBindingList& list, NameList& items);
// Reads that form back for the tree (paths may also be "$$ Doc Default $$", the root); false when the list
// ends or a node is missing or does not bind the variable.
bool LoadBindingsText(RangeBindingList& list, StoredItemReader& items, TreeDocument* document, const zString& name);

// Lets the person keep only some of several definitions for the sweep (true), or cancel (false). Without an
// installed chooser every definition is kept.
using DefinitionChooser =
    std::function<bool(RangeBindingList& list, TreeDocument* document, const zString& variable, const zString& rangeText)>;
DefinitionChooser SetDefinitionChooser(DefinitionChooser chooser);
// True when the range's definitions may be swept: one, or those the person keeps of several; a range without
// any, or with none kept, shows its error.
bool CheckDefinitions(TreeDocument* document, VariableRange& range, const zString& rangeText);
// Collects the definitions below the node of every range of the set that has none collected yet and checks
// them (CheckDefinitions); false at the first range that may not be swept.
bool CollectAndCheckDefinitions(SensitivityRangeSet& set, TreeNode* node, TreeDocument* document);
// Before a new sweep: the windows of the document's view that depend on one of the set's variables close
// (putting back any temporary values they hold), and definitions already collected save their texts again.
void CloseRangeWindows(SensitivityRangeSet& set, TreeDocument* document);
