#include "dialogs/EditScopeDialog.h"

#include "dialogs/ChoiceControls.h"

#include "CommandIds.h"

#include <algorithm>

namespace Ids = Ctl::Options;

namespace {

// One button per offered scope, in scope order; buttons left over are hidden and out of the tab order.
int ShowOnScreen(EditScopeDialog& edit)
{
    ProgramDialog dialog(DialogRes::Options);
    dialog.SetText(edit.Caption());
    int scopes[EditScopeDialog::kButtons] = {};
    unsigned buttons = 0;
    for (int bit = 0; bit < 31 && buttons < EditScopeDialog::kButtons; ++bit)
        if (edit.mask & (1u << bit)) {
            scopes[buttons] = bit;
            dialog.SetItemText(Ids::FirstButton + buttons, edit.Label(bit));
            ++buttons;
        }
    // Fewer than two scopes leave the second button as it is.
    const unsigned shown = std::max(buttons, 2u);
    for (unsigned i = shown; i < EditScopeDialog::kButtons; ++i)
        dialog.ShowItem(Ids::FirstButton + i, false);
    const unsigned last = Ids::FirstButton + EditScopeDialog::kButtons - 1;
    int checked = Ids::FirstButton;
    const int answer = RunRadioChoice(dialog, Ids::FirstButton, last, checked,
                                      [shown](unsigned id) { return id - Ids::FirstButton < shown; });
    edit.scope = scopes[checked - Ids::FirstButton];
    return answer;
}

} // namespace

int EditScopeDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && scope > 0 && scope < 32 && (mask & (1u << scope)) ? scope : 0;
}

const char* EditScopeDialog::Caption() const
{
    switch (command) {
    case Cmd::EditCut:
        return "Cut Options";
    case Cmd::EditCopy:
        return "Copy Options";
    case Cmd::EditPaste:
        return "Paste Options";
    default:
        return "Clear Options";
    }
}

const char* EditScopeDialog::Label(int scope) const
{
    switch (scope) {
    case 1:
        return "&Node";
    case 2:
        return tree ? "&Subtree" : "&Nodes";
    case 3:
        return "&Text";
    case 4:
        return "N&ote";
    case 5:
        return tree ? "&Arrow" : "&Arc";
    default:
        return "";
    }
}
