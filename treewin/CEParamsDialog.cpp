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
        EditCtrl::FromTemplate(&dialog, Ids::ValueEdit, &minimum, CtrlWindowCL::MayBeEmpty),
        EditCtrl::FromTemplate(&dialog, Ids::MaximumEdit, &maximum, CtrlWindowCL::MayBeEmpty),
    };
    CheckBoxCtrl::FromTemplate(&dialog, Ids::MinimumEffectiveness, &useMinimum);
    CheckBoxCtrl::FromTemplate(&dialog, Ids::MaximumCost, &useMaximum);
    // An optional formula and its "..." button are usable only while its box is checked.
    const auto follow = [&dialog](unsigned check) {
        const bool on = dialog.IsItemChecked(check);
        dialog.EnableItem(check + 1, on);
        dialog.EnableItem(check + 5, on);
    };
    for (unsigned check : {Ids::MinimumEffectiveness, Ids::MaximumCost}) {
        follow(check);
        dialog.OnButton(check, [follow, check] { follow(check); });
    }
    // Each "..." edits its formula in the Formula Editor.
    const char* const labels[3] = {"Willingness to pay:", "Minimum effectiveness:", "Maximum cost:"};
    for (int i = 0; i < 3; ++i)
        dialog.OnButton(Ids::WillingnessEditor + i, [this, &fields, &labels, i] {
            if (fields[i] != nullptr)
                RunFormulaEditor(window, *fields[i], labels[i], nullptr, nullptr, "Cost-Effectiveness Parameters");
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
