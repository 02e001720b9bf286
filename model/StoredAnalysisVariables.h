#pragma once
// The variables that a stored analysis names in its settings: the varied variables of the sensitivity
// analyses and their correlated ranges, and the bar names of a tornado diagram. Node paths and the display
// texts of nodes are never names. A renamed variable is renamed in its records; a deleted one is left in
// them, and running such a record says that the variable has no definitions.

#include "foundation/zString.h"

#include <vector>

class TreeDocument;
struct StoredAnalysis;

// One parameter item that holds a name: a variable's, or a tornado bar's (a variable's name or a group
// name the person gave).
struct StoredNameItem {
    int index;
    bool isBarName;
};

// The name items of the record, in list order, read by the layout of its kind and settings version. A
// list that ends early gives the items found before the end; kinds without variables give none.
void ListStoredNameItems(const StoredAnalysis& record, std::vector<StoredNameItem>& items);

// Every name item that names the old variable (letter case ignored) becomes the new name. The number of
// items changed.
int RenameVariableInStoredAnalysis(StoredAnalysis& record, const char* oldName, const char* newName);

// The first variable that the record varies but the document no longer has; false when there is none.
// The risk preference coefficient is no document variable and never missing.
bool FindMissingStoredVariable(const StoredAnalysis& record, const TreeDocument& document, zString& missing);
