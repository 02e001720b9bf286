#include "treewin/ChangeValuesDialog.h"

#include "widgets/MimicRunTime.h"
#include "foundation/MessageBoxes.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"

#include <string>

namespace {

// The document variable of a binding at a node that the Extended interface may edit, with its value.
const DocVariable* EditableVariable(const TreeDocument& tree, VariableDefinition& binding, double& value)
{
    const DocVariable* variable = tree.FindVariable(binding.name.Text(), false);
    if (variable == nullptr || !binding.definition.GetConstant(&value) || variable->flag3 == 0 ||
        variable->tFlag != 0 || variable->hasRange == 0 || variable->shortDescription.IsEmpty())
        return nullptr;
    return variable;
}

CustomInterfaceSettings* ParametersAt(const TreeDocument& tree, TreeNode* node)
{
    auto* parameters = new CustomInterfaceSettings();
    for (int i = 0; i < node->BindingCount(); ++i) {
        VariableDefinition* binding = node->GetBinding(i);
        double value = 0.0;
        const DocVariable* variable = binding != nullptr ? EditableVariable(tree, *binding, value) : nullptr;
        if (variable == nullptr)
            continue;
        auto* parameter = new CustomInterfaceParameter{variable->name};
        parameter->low = variable->low.value;
        parameter->high = variable->high.value;
        parameter->currentValue = value;
        parameter->valueText = binding->definition.Text();
        parameter->wheelAllowed = parameter->low >= 0 && parameter->high <= 1 ? 1 : 0;
        parameters->Add(parameter);
    }
    return parameters;
}

} // namespace

ChangeValuesDialog::ChangeValuesDialog(TreeDocument& tree, CustomInterfaceSettings& settings, bool markModified)
    : parameters(settings), tree_(tree), markModified_(markModified)
{
}

ChangeValuesDialog::ChangeValuesDialog(TreeDocument& tree, TreeNode* node, bool markModified)
    : own_(ParametersAt(tree, node)), parameters(*own_), defaultsShown(false), tree_(tree), node_(node),
      markModified_(markModified)
{
    zString text;
    node->GetShortText(text, 0);
    nodeCaption = (std::string("Node: ") + text.Text()).c_str();
}

ChangeValuesDialog::~ChangeValuesDialog() = default;

bool CheckCustomInterfaceEditable(TreeDocument& tree, TreeNode* node)
{
    for (int i = 0; node != nullptr && i < node->BindingCount(); ++i) {
        double value = 0.0;
        if (VariableDefinition* binding = node->GetBinding(i); binding != nullptr && EditableVariable(tree, *binding, value))
            return true;
    }
    std::string text = "None of the variables at the selected node may be edited using the Extended Custom Interface.";
    if (IsMimicRunTime())
        text += "\n\n Designer note: For a variable to be editable using the Extended Custom Interface, it must have a "
                "description and a range (both assigned in the Variable Properties dialog box or the Exteded "
                "Parameters dialog box). Also, the definition must be numeric.";
    ShowInfoBox(nullptr, text.c_str(), 0);
    return false;
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
        TreeNode* node = CustomInterfaceSettings::ApplyParameterValue(row, tree_.Root, node_);
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
