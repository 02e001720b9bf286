#include "treewin/CEParamsDialog.h"

#include "treewin/FormulaEditorDialog.h"
#include "treewin/FormulaMenus.h"
#include "widgets/ProgramDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace Ids = Ctl::CostEffectivenessParameters;

CEParamsDialog::CEParamsDialog(TreeWindow* window) : window(window)
{
    const CESensitivitySettings& settings = window->Document().CESettings;
    willingness = settings.willingnessToPay.Text();
    minimum = settings.effectivenessFloor.Text();
    maximum = settings.costCeiling.Text();
    useMinimum = settings.useEffectivenessFloor;
    useMaximum = settings.useCostCeiling;
}

int CEParamsDialog::Run()
{
    if (HasPresenter())
        return Present() == IDOK ? 1 : 0;
    ProgramDialog dialog(DialogRes::CostEffectivenessParameters);
    EditCtrl* fields[3] = {
        EditCtrl::FromTemplate(&dialog, Ids::WillingnessToPayEdit, &willingness, CtrlWindowCL::MayBeEmpty),
        EditCtrl::FromTemplate(&dialog, Ids::MinimumEdit, &minimum, CtrlWindowCL::MayBeEmpty),
        EditCtrl::FromTemplate(&dialog, Ids::MaximumEdit, &maximum, CtrlWindowCL::MayBeEmpty),
    };
    CheckBoxCtrl::FromTemplate(&dialog, Ids::MinimumEffectiveness, &useMinimum);
    CheckBoxCtrl::FromTemplate(&dialog, Ids::MaximumCost, &useMaximum);
    // An optional formula and its "..." button are usable only while its box is checked.
    const struct {
        unsigned box;
        unsigned field;
        unsigned editor;
    } optional[] = {{Ids::MinimumEffectiveness, Ids::MinimumEdit, Ids::MinimumEditor},
                    {Ids::MaximumCost, Ids::MaximumEdit, Ids::MaximumEditor}};
    for (const auto& row : optional) {
        const auto follow = [&dialog, row] {
            const bool on = dialog.IsItemChecked(row.box);
            dialog.EnableItem(row.field, on);
            dialog.EnableItem(row.editor, on);
        };
        follow();
        dialog.OnButton(row.box, follow);
    }
    // Each "..." edits its formula in the Formula Editor.
    const struct {
        unsigned editor;
        const char* label;
    } editors[3] = {{Ids::WillingnessEditor, "Willingness to pay:"},
                    {Ids::MinimumEditor, "Minimum effectiveness:"},
                    {Ids::MaximumEditor, "Maximum cost:"}};
    for (int i = 0; i < 3; ++i)
        dialog.OnButton(editors[i].editor, [this, field = fields[i], label = editors[i].label] {
            if (field != nullptr)
                RunFormulaEditor(window, *field, label, nullptr, nullptr, "Cost-Effectiveness Parameters");
        });
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        const struct {
            const zString& text;
            bool used;
            EditCtrl* field;
            const char* name;
        } formulas[3] = {{willingness, true, fields[0], "Willingness to pay"},
                         {maximum, useMaximum != 0, fields[2], "Maximum cost"},
                         {minimum, useMinimum != 0, fields[1], "Minimum effectiveness"}};
        for (const auto& formula : formulas)
            if (formula.used && !FormulaSyntaxOk(formula.text, formula.field, formula.name))
                return;
        dialog.EndModal();
    });
    dialog.SelectField(Ids::WillingnessToPayEdit);
    return dialog.Run() == IDOK ? 1 : 0;
}

int OpenCEParameters(TreeWindow* window)
{
    CEParamsDialog dialog(window);
    if (!dialog.Run())
        return 0;
    CESensitivitySettings& settings = window->Document().CESettings;
    settings.willingnessToPay.SetText(dialog.willingness.Text());
    settings.useEffectivenessFloor = dialog.useMinimum;
    settings.useCostCeiling = dialog.useMaximum;
    if (dialog.useMinimum)
        settings.effectivenessFloor.SetText(dialog.minimum.Text());
    else
        settings.effectivenessFloor.SetNumber(0.0);
    if (dialog.useMaximum)
        settings.costCeiling.SetText(dialog.maximum.Text());
    else
        settings.costCeiling.SetNumber(0.0);
    window->SetModified(1);
    return 1;
}
