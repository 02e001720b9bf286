#pragma once
// Definitions of Variable (dialog 2182): lists every definition of one variable, a line per node with the
// node's label, the value and the formula, separated by TABs. The dialog runs in its constructor; the
// window itself is drawn from its template by the dialog engine, which stands behind the presenter.

#include "foundation/NameList.h"
#include "foundation/zString.h"

#include <functional>

class VariableDefsDialog {
public:
    enum : int { kTemplateId = 2182 };

    // Shows the lines (copied) until the person closes the dialog.
    VariableDefsDialog(const char* variableName, const NameList& lines);

    const zString& VariableName() const { return variableName; }
    const NameList& Lines() const { return lines; }

    // The person's side: given the open dialog, returns when it is closed. Until the dialog engine shows
    // the template, a dialog without a presenter closes at once.
    using Presenter = std::function<void(const VariableDefsDialog&)>;
    static Presenter SetPresenter(Presenter presenter);

private:
    zString variableName;
    NameList lines{4, true};
};
