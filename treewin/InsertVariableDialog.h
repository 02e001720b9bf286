#pragma once
// Insert Variable (the list chooser, dialog 2125, captioned "Insert Variable"): the name of a document
// variable or lookup table completes the name being typed in a formula field.

#include "widgets/PresentedDialog.h"
#include "foundation/NameList.h"

class EditCtrl;
class TreeWindow;

class InsertVariableDialog : public PresentedDialog<InsertVariableDialog> {
public:

    explicit InsertVariableDialog(const NameList& candidates) : candidates(candidates) {}
    // The chosen candidate, or null after Cancel.
    // On the screen without a presenter; double-clicking a line is OK.
    const zString* Run();

    const NameList& candidates;
    int selected = 0;
};

// The name under the caret as the character range [start, end): from the start of the name the selection
// begins in (a name may go on right of the caret), else from the first name character up to the selection's
// start through to the selection's end.
void FindNameAtSelection(const char* text, int selectionStart, int selectionEnd, int& start, int& end);

// Replaces the name being typed in the edit by the variable or table it begins (asking when several or
// none fit); the tree window's in-place editor gets it typed. True when a name was inserted.
bool InsertVariableName(TreeWindow* window, EditCtrl* edit);
