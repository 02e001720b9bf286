#include "CommandIds.h"
#include "dialogs/FormulaEditorDialog.h"

#include "dialogs/FormulaMenus.h"
#include "dialogs/ProgramDialog.h"
#include "framework/dialog/EditCtrl.h"

namespace {

constexpr FormulaMenuControls kMenus{5006, 5007, 5008, 5009, 5010};

} // namespace

bool RunFormulaEditor(TreeWindow* tree, EditCtrl& field, const char* above, const char* between, const char* below,
                      const char* caption)
{
    zString formula = field.GetText();
    ProgramDialog dialog(DialogRes::FormulaEditor);
    if (caption != nullptr && *caption != '\0')
        dialog.SetText(caption);
    dialog.SetItemText(5001, above != nullptr ? above : "");
    dialog.SetItemText(5003, between != nullptr ? between : "");
    dialog.SetItemText(5005, below != nullptr ? below : "");
    FormulaPicks picks(&dialog, tree, kMenus);
    EditCtrl* edit = EditCtrl::FromTemplate(&dialog, Ctl::FormulaEditor::FormulaEdit, &formula, CtrlWindowCL::MayBeEmpty);
    picks.Track(edit);
    if (tree == nullptr)
        dialog.ShowItem(Ctl::FormulaEditor::Distribution, false);
    dialog.OnButton(Ctl::FormulaEditor::Distribution, [&] {
        zString call;
        if (tree != nullptr && ChooseDistributionCall(tree, call))
            picks.Insert(call.Text());
    });
    dialog.OnButton(IDOK, [&] {
        if (dialog.ValidateAndStore() && FormulaSyntaxOk(formula, edit, nullptr))
            dialog.EndModal();
    });
    if (edit != nullptr) {
        edit->SetSelection(0, 1000);
        SetFocus(edit->Handle());
    }
    if (dialog.Run() != IDOK)
        return false;
    field.SetText(formula);
    field.Store();
    field.SetSelection(0, 1000);
    SetFocus(field.Handle());
    return true;
}
