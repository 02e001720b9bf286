#include "dialogs/ChangeValuesDialog.h"

#include "foundation/MessageBoxes.h"
#include "model/CustomInterfaceSettings.h"
#include "model/TreeDocument.h"

#include <string>

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
    if ((HasPresenter() ? Present() : ShowOnScreen()) != IDOK)
        return false;
    if (markModified_)
        tree_.SetModified(1);
    std::string unset;
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
        if (node == nullptr)
            unset += std::string(unset.empty() ? "" : ", ") + "\"" + row.variableName.Text() + "\"";
        else if (!changed.Contains(node))
            changed.Add(node);
    }
    // A parameter whose definition was deleted from the tree changes nothing; the user is told which.
    if (!unset.empty())
        ShowInfoBox(nullptr,
                    ("These values were not set, because their variables are no longer defined in the tree: " +
                     unset + ".").c_str(),
                    0);
    return true;
}
