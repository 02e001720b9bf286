#pragma once
// Define New Variable (prompt dialog 2000): a name for a new document variable. OK is accepted only for a
// name that passes the variable-name rules and that no document variable has; otherwise the dialog stays.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

class TreeDocument;

class DefineNewVariableDialog : public PresentedDialog<DefineNewVariableDialog> {
public:

    // Starts with the name; Cancel empties it.
    DefineNewVariableDialog(TreeDocument& document, zString& name) : document(document), name(name) {}
    // 1 with an accepted name, 0 (name empty) when cancelled.
    int Run();

    const char* Caption() const { return "Define New Variable"; }
    const char* Prompt() const { return "Enter a name for the variable:"; }

    TreeDocument& document;
    zString& name;
};
