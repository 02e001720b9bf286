#include "treewin/FormulaEditorDialog.h"

#include "treewin/FormulaMenus.h"
#include "widgets/ProgramDialog.h"
#include "framework/dialog/EditCtrl.h"

#include "CommandIds.h"

namespace Ids = Ctl::FormulaEditor;

namespace {

constexpr FormulaMenuControls kMenus{Ctl::FormulaEditor::OperatorsText, Ctl::FormulaEditor::FunctionsText,
                                     Ctl::FormulaEditor::VariablesText, Ctl::FormulaEditor::KeywordsText,
                                     Ctl::FormulaEditor::TablesText};

} // namespace

bool RunFormulaEditor(TreeWindow* tree, EditCtrl& field, const char* above, const char* between, const char* below,
                      const char* caption)
{
    zString formula = field.GetText();
    ProgramDialog dialog(DialogRes::FormulaEditor);
    if (caption != nullptr && *caption != '\0')
        dialog.SetText(caption);
    dialog.SetItemText(Ctl::FormulaEditor::Text5001, above != nullptr ? above : "");
    dialog.SetItemText(Ctl::FormulaEditor::Text5003, between != nullptr ? between : "");
    dialog.SetItemText(Ctl::FormulaEditor::Text5005, below != nullptr ? below : "");
    FormulaPicks picks(&dialog, tree, kMenus);
    EditCtrl* edit = EditCtrl::FromTemplate(&dialog, Ids::FormulaEdit, &formula, CtrlWindowCL::MayBeEmpty);
    picks.Track(edit);
    if (tree == nullptr)
        dialog.ShowItem(Ids::Distribution, false);
    dialog.OnButton(Ids::Distribution, [&] {
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
