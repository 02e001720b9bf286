#include "dialogs/DefineVariableWindow.h"

#include "foundation/MessageBoxes.h"
#include "framework/dialog/EditCtrl.h"
#include "model/DocVariable.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include <string>

DefineVariableWindow::DefineVariableWindow(TreeWindow* tree, const NodeChildList& nodes, const char* name)
    : NodeValueWindow(tree, kTemplateId, true, nodes, name), name(name)
{
    SetIconId(32014);
    PlaceAt(0.4, 0.5);
    OnTreeTitleChanged(tree->Title().Text());
    edit = BindEdit(kDefinitionEdit);
    if (const DocVariable* variable = tree->FindVariable(name, false); variable != nullptr && Handle() != nullptr)
        SetItemText(kDescriptionLabel, variable->shortDescription.Text());
    ShowNodeLabel();
    // The common definition of the nodes that bind the variable; none when two of them differ.
    zString common;
    bool found = false;
    for (int i = 0; i < Nodes().Count(); ++i) {
        const TreeNode* node = Nodes().At(i) != nullptr ? Nodes().At(i) : tree->Document().Root;
        const VariableDefinition* binding = node->FindBinding(name, false);
        if (binding == nullptr)
            continue;
        if (found && !(common == binding->definition.Text())) {
            common.Clear();
            break;
        }
        common = binding->definition.Text();
        found = true;
    }
    if (edit != nullptr) {
        edit->SetText(common);
        FocusWhole(edit);
    }
}

void DefineVariableWindow::OnTreeTitleChanged(const char*)
{
    SetCaption((std::string(": Define Variable \"") + Key().Text() + "\"").c_str());
}

bool DefineVariableWindow::Apply(bool)
{
    const zString text = edit != nullptr ? edit->GetText() : zString();
    if (text.IsEmpty()) {
        const std::string question = std::string("Do you want to eliminate the definition of the variable \"") +
                                     Key().Text() + "\" from the selected node(s)?";
        if (AskOkCancel("Define Variable", question.c_str(), 30004, 3) != 1)
            return false;
    } else if (!Parses(text, edit, "variable definition")) {
        return false;
    }
    Store(new TreeDefineVariableAction(Tree(), Nodes(), name.Text(), text.Text()));
    return true;
}
