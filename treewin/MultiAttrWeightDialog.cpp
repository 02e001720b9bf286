#include "treewin/MultiAttrWeightDialog.h"

#include "treewin/FormulaMenus.h"
#include "widgets/ProgramDialog.h"
#include "framework/dialog/EditCtrl.h"
#include "treewin/TreeWindow.h"

MultiAttrWeightDialog::MultiAttrWeightDialog(TreeWindow* window) : window(window)
{
    for (int i = 0; i < 4; ++i)
        weights[i] = window->Document().CalcPrefs.MultiAttrWeight[i].Text();
}

int MultiAttrWeightDialog::Run()
{
    if (HasPresenter())
        return Present() == IDOK ? 1 : 0;
    ProgramDialog dialog(DialogRes::MultiAttributeWeighting);
    // A pick of the formula menus goes into the weight that had the focus last.
    const FormulaMenuControls menus{Ctl::MultiAttributeWeighting::OperatorsText,
                                    Ctl::MultiAttributeWeighting::FunctionsText,
                                    Ctl::MultiAttributeWeighting::VariablesText, 0, 0};
    FormulaPicks picks(&dialog, window, menus);
    EditCtrl* fields[4] = {};
    for (unsigned i = 0; i < 4; ++i) {
        fields[i] = EditCtrl::FromTemplate(&dialog, Ctl::MultiAttributeWeighting::Edit3201 + i, &weights[i],
                                           CtrlWindowCL::MayBeEmpty);
        picks.Track(fields[i]);
    }
    // Each weight must read as a formula; the first that does not keeps the dialog open.
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        for (int i = 0; i < 4; ++i)
            if (!weights[i].IsEmpty() && !FormulaSyntaxOk(weights[i], fields[i], "multi attribute weighting factor"))
                return;
        dialog.EndModal();
    });
    dialog.SelectField(Ctl::MultiAttributeWeighting::Edit3201);
    return dialog.Run() == IDOK ? 1 : 0;
}

int OpenMultiAttributeWeighting(TreeWindow* window)
{
    MultiAttrWeightDialog dialog(window);
    if (!dialog.Run())
        return 0;
    for (int i = 0; i < 4; ++i)
        window->Document().CalcPrefs.MultiAttrWeight[i].SetText(dialog.weights[i].Text());
    window->SetModified(1);
    return 1;
}
