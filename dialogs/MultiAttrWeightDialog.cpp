#include "dialogs/MultiAttrWeightDialog.h"

#include "dialogs/ProgramDialog.h"
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
    ProgramDialog dialog(kTemplateId);
    for (unsigned i = 0; i < 4; ++i)
        EditCtrl::FromTemplate(&dialog, kFirstWeightEdit + i, &weights[i], CtrlWindowCL::MayBeEmpty);
    dialog.SelectField(kFirstWeightEdit);
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
