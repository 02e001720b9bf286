#include "treewin/DefineVariableWindow.h"

#include "formula/FormulaRef.h"
#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "framework/dialog/EditCtrl.h"
#include "model/DocVariable.h"
#include "model/EvalContext.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>

namespace Ids = Ctl::DefineVariable31109;

DefineVariableWindow::DefineVariableWindow(TreeWindow* tree, const NodeChildList& nodes, const char* name)
    : NodeValueWindow(tree, DialogRes::DefineVariable31109, true, nodes, name), name(name)
{
    SetIconId(32014);
    PlaceAt(0.4, 0.5);
    OnTreeTitleChanged(tree->Document().Title().Text());
    edit = BindEdit(Ids::DefinitionEdit);
    HookFormulaKeys(edit);
    ShowNameLabel();
    if (const DocVariable* variable = tree->Document().FindVariable(name, false); variable != nullptr && Handle() != nullptr)
        SetItemText(Ids::DescriptionLabel, variable->shortDescription.Text());
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

void DefineVariableWindow::ShowNameLabel()
{
    if (Handle() != nullptr)
        SetItemText(Ids::NameLabel, (std::string(Key().Text()) + " &=").c_str());
}

void DefineVariableWindow::RenameVariable(const char* oldName, const char* newName)
{
    zString key = Key();
    if (ReplaceAll(key, oldName, newName, true, false, 0, true) > 0) {
        SetKey(key.Text());
        name = newName;
        OnTreeTitleChanged(Tree()->Document().Title().Text());
        ShowNameLabel();
    }
    RenameInEdit(edit, oldName, newName);
}

double DefineVariableWindow::CurrentValue()
{
    if (edit == nullptr)
        return 0.0;
    HostSilence quiet(Silence::FormulaMessages);
    TreeNode* node = Nodes().Count() > 0 ? Nodes().At(0) : nullptr;
    FormulaRef formula(new EvalContext(&Tree()->Document(), node), 1, "variable definition");
    const double value = formula.EvaluateText(edit->GetText().Text());
    return formula.HasError() ? 0.0 : value;
}

void DefineVariableWindow::ValueLabel(zString& out) const
{
    zString label = Key();
    NormalizeVariableName(label);
    if (const DocVariable* variable = Tree()->Document().FindVariable(label.Text(), false))
        variable->GetLabel(label);
    out = (std::string("Value of \"") + label.Text() + "\"").c_str();
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
