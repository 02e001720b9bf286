#include "dialogs/MultiAttrWeightDialog.h"

#include "treewin/TreeWindow.h"

MultiAttrWeightDialog::MultiAttrWeightDialog(TreeWindow* window) : window(window)
{
    for (int i = 0; i < 4; ++i)
        weights[i] = window->Document().CalcPrefs.MultiAttrWeight[i].Text();
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
