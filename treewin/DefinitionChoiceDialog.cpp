#include "treewin/DefinitionChoiceDialog.h"

#include "analysis/VariableSubstitution.h"
#include "foundation/NumericFormat.h"
#include "framework/window/HandlerDescriptor.h"
#include "model/NodeFormula.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <windows.h>

namespace Ids = Ctl::SensitivityAnalysisOn;

DefinitionChoiceDialog::DefinitionChoiceDialog(RangeBindingList& list, TreeDocument* document, const zString& variable,
                                               const zString& rangeText)
    : AppDialog(DialogRes::SensitivityAnalysisOn), list(list), document(document)
{
    zString caption("Sensitivity Analysis on ");
    caption += variable;
    SetText(caption);
    if (WindowCL* range = FindChild(Ids::VariableRangeText))
        range->SetText(rangeText);
    AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
        Ids::ShowNode, Ids::KeepRemainingButton, AsEventHandler(&DefinitionChoiceDialog::OnChoice), this, WM_COMMAND));
    ShowEntry();
}

int DefinitionChoiceDialog::Run()
{
    RunModal();
    return result;
}

void DefinitionChoiceDialog::ShowEntry()
{
    if (index >= list.Count())
        return;
    const RangeBinding* entry = list.At(index);
    zString text;
    if (entry->node == nullptr || entry->node == document->Root)
        text = "(None: Default for Tree)";
    else
        entry->node->GetDisplayText(text, true);
    if (WindowCL* node = FindChild(Ids::NodeText))
        node->SetText(text);
    if (WindowCL* expression = FindChild(Ids::OriginalExpressionText))
        expression->SetText(entry->savedText);
    text.Clear();
    if (entry->node != nullptr) {
        RunFault error;
        const double value = EvaluateNodeFormulaText(entry->node, entry->savedText.Text(), "definition", &error, true);
        if (!error)
            FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
    }
    if (WindowCL* value = FindChild(Ids::OriginalValueText))
        value->SetText(text);
}

// The dialog has no OK button: passing the last entry ends it with a result.
void DefinitionChoiceDialog::Finish()
{
    if (index < list.Count()) {
        ShowEntry();
        return;
    }
    result = 1;
    EndModal();
}

long DefinitionChoiceDialog::OnChoice(WindowEvent* event)
{
    switch (event->CommandId()) {
    case Ids::ShowNode:
        if (index < list.Count() && list.At(index)->node != nullptr && list.At(index)->node != document->Root) {
            // The node joins the selection of the window showing the tree.
            TreeNode* node = list.At(index)->node;
            for (TreeWindow* tree : TreeWindow::OpenWindows())
                if (&tree->Document() == document && !tree->IsNodeSelected(node))
                    tree->SelectNode(node, 1, nullptr, true);
        }
        return 1;
    case Ids::ThisDefinition:
        ++index;
        break;
    case Ids::RemainingDefinitions:
        index = list.Count();
        break;
    case Ids::KeepThisButton:
        list.DeleteAt(index);
        break;
    case Ids::KeepRemainingButton:
        while (list.Count() > index)
            list.DeleteAt(index);
        break;
    default:
        return 0;
    }
    Finish();
    return 1;
}

void InstallDefinitionChoiceDialog()
{
    SetDefinitionChooser([](RangeBindingList& list, TreeDocument* document, const zString& variable,
                            const zString& rangeText) {
        return DefinitionChoiceDialog(list, document, variable, rangeText).Run() != 0;
    });
}
