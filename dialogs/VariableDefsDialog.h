#pragma once
// Definitions of Variable (dialog 2182): lists every definition of one variable, a line per node with the
// node's label, the value and the formula, separated by TABs, in the columns of a report list. Run() shows
// it, on the screen unless a presenter answers it.

#include "foundation/NameList.h"
#include "foundation/zString.h"

#include <functional>

class VariableDefsDialog {
public:

    // The lines are copied.
    VariableDefsDialog(const char* variableName, const NameList& lines);
    // Shows the lines until the person closes the dialog.
    void Run() const;

    const zString& VariableName() const { return variableName; }
    const NameList& Lines() const { return lines; }

    // The person's side: given the open dialog, returns when it is closed.
    using Presenter = std::function<void(const VariableDefsDialog&)>;
    static Presenter SetPresenter(Presenter presenter);

private:
    zString variableName;
    NameList lines{4, true};
};
