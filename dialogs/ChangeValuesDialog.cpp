#include "dialogs/ChangeValuesDialog.h"

#include "model/CustomInterfaceSettings.h"
#include "model/TreeDocument.h"

ChangeValuesDialog::ChangeValuesDialog(TreeDocument& tree, CustomInterfaceSettings& settings, bool markModified)
    : parameters(settings), tree_(tree), markModified_(markModified)
{
}

bool ChangeValuesDialog::Run(NodeChildList& changed)
{
    for (int i = 0; i < parameters.Count(); ++i) {
        CustomInterfaceParameter& row = *parameters.At(i);
        row.workingValue = row.currentValue;
        row.workingText = row.valueText;
    }
    if (Present() != IDOK)
        return false;
    if (markModified_)
        tree_.SetModified(1);
    for (int i = 0; i < parameters.Count(); ++i) {
        CustomInterfaceParameter& row = *parameters.At(i);
        if (row.onOffSwitch != 0) {
            row.currentValue = static_cast<int>(row.workingValue) != 0 ? 1.0 : 0.0;
            row.valueText = "";
        } else {
            row.currentValue = row.workingValue;
            row.valueText = row.workingText;
        }
        TreeNode* node = CustomInterfaceSettings::ApplyParameterValue(row, tree_.Root, nullptr);
        if (node != nullptr && !changed.Contains(node))
            changed.Add(node);
    }
    return true;
}
