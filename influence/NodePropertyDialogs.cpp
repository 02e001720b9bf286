#include "influence/NodePropertyDialogs.h"

#include "widgets/AppDialog.h"
#include "widgets/MenuButton.h"
#include "widgets/Shell.h"
#include "treewin/DistributionPicker.h"
#include "treewin/FormulaMenus.h"
#include "treewin/ProbabilityWheel.h"
#include "widgets/ProgramDialog.h"
#include "formula/Distribution.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/Menu.h"
#include "framework/window/ResourceId.h"
#include "influence/InfluenceDiagramWindow.h"
#include "influence/NodePropertyActions.h"
#include "model/InfluenceDiagram.h"
#include "model/NameRules.h"
#include "widgets/DdeLinkManager.h"
#include "widgets/DocumentLinks.h"

#include "CommandIds.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace Skip = Ctl::EditNodeVariable;
namespace Range = Ctl::EditNodeRange;
namespace Valued = Ctl::EditNodeFormula;

std::string Upper(const char* text)
{
    std::string upper;
    for (; *text != '\0'; ++text)
        upper += UpperChar(*text);
    return upper;
}

// Characters that may not stand in a name become '_' as they are typed.
void MapNameCharacters(HWND edit)
{
    char buffer[256] = {};
    GetWindowTextA(edit, buffer, sizeof buffer);
    bool mapped = false;
    for (char* p = buffer; *p != '\0'; ++p) {
        const char allowed = NameValidator::MapChar(*p, p == buffer);
        mapped = mapped || allowed != *p;
        *p = allowed;
    }
    if (!mapped)
        return;
    SetWindowTextA(edit, buffer);
    const LPARAM end = static_cast<LPARAM>(std::strlen(buffer));
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
}

// The base of the three variable dialogs: the name field, its uniqueness among the document's nodes, and
// the "InfTools" menu of a formula field.
class NodeVariableDialog : public AppDialog {
public:
    NodeVariableDialog(unsigned templateId, InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
        : AppDialog(templateId), window_(window), node_(node), original_(node.variableName)
    {
        variable = node.variableName;
        EditCtrl::FromTemplate(this, Skip::VariableEdit, &variable);
        SelectField(Skip::VariableEdit);
    }

    zString variable;

protected:
    // The "InfTools" menu on the static: picks go into the edit.
    void AddTools(unsigned staticId, EditCtrl* edit)
    {
        toolsEdit_ = edit;
        std::unique_ptr<Menu> menu(Menu::PopupFromResource(ResourceId(MenuRes::DiagramToolsPopup, nullptr)));
        menu->GrayItem(Cmd::EditPasteLink, !TheShell().CanPasteLink());
        tools_ = MakeOwningMenuButton(std::move(menu), this, staticId);
        // A button of the dialog's own: while disabled it shows greyed rather than leaving its place empty.
        if (tools_ != nullptr)
            tools_->Reset();
    }
    void EnableTools(bool enabled)
    {
        if (tools_ == nullptr)
            return;
        tools_->Enable(enabled);
        InvalidateRect(tools_->Handle(), nullptr, TRUE);
    }

    long OnCommandId(unsigned id, unsigned code, HWND control) override
    {
        if (id == Skip::VariableEdit && code == EN_CHANGE) {
            MapNameCharacters(control);
            return 1;
        }
        if (toolsEdit_ != nullptr && (id == Cmd::EditPasteLink || id == Cmd::OptionsDistributeChildren ||
                                      id == Cmd::ValuesProbabilityWheel)) {
            RunTool(id);
            return 1;
        }
        return AppDialog::OnCommandId(id, code, control);
    }

    // A new name may not be another node's variable, in any case; the node's own name in another case is
    // no new name.
    int OkResult() override
    {
        if (Upper(variable.Text()) != Upper(original_.Text())) {
            const std::string wanted = Upper(variable.Text());
            bool taken = false;
            window_.document.ForEachNode([&](InfluenceNodeRecord& other) {
                taken = taken || (&other != &node_ && other.Effective() != &node_ &&
                                  Upper(other.variableName.Text()) == wanted);
            });
            if (taken) {
                ShowErrorBox(nullptr,
                             "The variable you have assigned is being used by another node in the influence "
                             "diagram. Each variable name must be unique.",
                             0);
                SelectField(Skip::VariableEdit);
                return 0;
            }
        }
        return 1;
    }

    InfluenceDiagramWindow& window_;
    InfluenceNodeRecord& node_;

private:
    void RunTool(unsigned id)
    {
        zString text;
        if (id == Cmd::EditPasteLink) {
            DdeLinkManager* links = TheShell().Links();
            if (links == nullptr || PasteLinkFromClipboard(*links, window_.document.links, window_, text, 0) <= 0)
                return;
        } else if (id == Cmd::OptionsDistributeChildren) {
            std::unique_ptr<Distribution> picked(RunDistributionPicker(nullptr, nullptr, false));
            if (!picked)
                return;
            picked->FormatText(text, true);
        } else {
            // The wheel starts from the field's probability, or an even chance.
            const zString typed = toolsEdit_->GetText();
            char* end = nullptr;
            double value = std::strtod(typed.Text(), &end);
            if (end == typed.Text() || value <= 0 || value >= 1)
                value = 0.5;
            if (!RunProbabilityWheelAt(value, node_.name.Text()))
                return;
            FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
            toolsEdit_->SetSelection(0, -1);
        }
        toolsEdit_->ReplaceSelection(text.Text());
        SetFocus(toolsEdit_->Handle());
    }

    zString original_;
    EditCtrl* toolsEdit_ = nullptr;
    MenuButton* tools_ = nullptr;
};

// Chance and decision nodes: the value when skipped, or never defined.
class NodeSkipValueDialog : public NodeVariableDialog {
public:
    NodeSkipValueDialog(InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
        : NodeVariableDialog(DialogRes::EditNodeVariable, window, node), valueText(node.valueText),
          neverDefine(node.neverDefine)
    {
        AddTools(Skip::ToolsText, EditCtrl::FromTemplate(this, Skip::ValueWhenSkippedEdit, &valueText,
                                                          CtrlWindowCL::MayBeEmpty));
        CheckBoxCtrl::FromTemplate(this, Skip::NeverDefineThisVariable, &neverDefine);
        FollowNeverDefine();
    }

    zString valueText;
    int neverDefine;

private:
    void FollowNeverDefine()
    {
        const bool never = IsDlgButtonChecked(Handle(), Skip::NeverDefineThisVariable) == BST_CHECKED;
        EnableItem(Skip::ValueWhenSkippedEdit, !never);
        EnableTools(!never);
    }
    long OnCommandId(unsigned id, unsigned code, HWND control) override
    {
        if (id == Skip::NeverDefineThisVariable) {
            FollowNeverDefine();
            return 0;
        }
        return NodeVariableDialog::OnCommandId(id, code, control);
    }
};

// Deterministic nodes: the baseline value and the range it may take.
class NodeRangeDialog : public NodeVariableDialog {
public:
    NodeRangeDialog(InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
        : NodeVariableDialog(DialogRes::EditNodeRange, window, node), low(node.lowValue), high(node.highValue)
    {
        char* end = nullptr;
        baseline = std::strtod(node.valueText.Text(), &end);
        if (end == node.valueText.Text() || *end != '\0')
            baseline = 0;
        AddRealFieldUnbounded(Range::BaselineValueEdit, &baseline);
        AddRealFieldUnbounded(Range::LowValueEdit, &low);
        AddRealFieldUnbounded(Range::HighValueEdit, &high);
    }

    double baseline = 0;
    double low;
    double high;

private:
    int OkResult() override
    {
        if (high <= low) {
            ShowErrorBox(nullptr, "To assign a range, the high value must be greater than the low value.", 0);
            SelectField(Range::HighValueEdit);
            return 0;
        }
        return NodeVariableDialog::OkResult();
    }
};

// Value nodes: a formula, or the table ("Enumeration") edited with "Values...".
class NodeFormulaDialog : public NodeVariableDialog {
public:
    NodeFormulaDialog(InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
        : NodeVariableDialog(DialogRes::EditNodeFormula, window, node), formula(node.formula)
    {
        formulaEdit_ = EditCtrl::FromTemplate(this, Valued::FormulaEdit, &formula, CtrlWindowCL::MayBeEmpty);
        AddTools(Valued::ToolsText, formulaEdit_);
        CheckRadioButton(Handle(), Valued::Formula, Valued::Enumeration,
                         node.noFormula != 0 ? Valued::Enumeration : Valued::Formula);
        FollowChoice();
    }

    bool UsesFormula() const { return IsDlgButtonChecked(Handle(), Valued::Formula) == BST_CHECKED; }

    zString formula;

private:
    void FollowChoice()
    {
        const bool useFormula = UsesFormula();
        EnableItem(Valued::FormulaEdit, useFormula);
        EnableTools(useFormula);
        EnableItem(Valued::Values, !useFormula);
    }
    // The value table is edited with the node on its table for that time; its formula stays as it was.
    void EditValues()
    {
        const int16_t noFormula = node_.noFormula;
        const zString kept = node_.formula;
        node_.noFormula = 1;
        window_.OnCommand(Cmd::DiagramValues);
        node_.noFormula = noFormula;
        node_.formula = kept;
    }
    long OnCommandId(unsigned id, unsigned code, HWND control) override
    {
        if (id == Valued::Formula || id == Valued::Enumeration) {
            FollowChoice();
            return 0;
        }
        if (id == Valued::Values) {
            EditValues();
            return 1;
        }
        return NodeVariableDialog::OnCommandId(id, code, control);
    }
    int OkResult() override
    {
        if (UsesFormula() && !FormulaSyntaxOk(formula, formulaEdit_, "value formula"))
            return 0;
        return NodeVariableDialog::OkResult();
    }

    EditCtrl* formulaEdit_ = nullptr;
};

} // namespace

void EditNodeDescription(InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
{
    window.EndInPlaceEdit();
    zString name = node.name;
    zString annotation = node.annotation;
    ProgramDialog dialog(DialogRes::EditNodeDescription);
    EditCtrl::FromTemplate(&dialog, Ctl::EditNodeDescription::NodeNameEdit, &name, CtrlWindowCL::MayBeEmpty);
    EditCtrl::FromTemplate(&dialog, Ctl::EditNodeDescription::AnnotationEdit, &annotation,
                           CtrlWindowCL::MayBeEmpty);
    dialog.SelectField(Ctl::EditNodeDescription::NodeNameEdit);
    if (dialog.Run() != IDOK || (name == node.name && annotation == node.annotation))
        return;
    window.AddUndoAction(new NodeDescriptionAction(&window, &node, name, annotation));
}

void EditNodeVariable(InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
{
    window.EndInPlaceEdit();
    if (node.kind == InfluenceKind::Deterministic) {
        NodeRangeDialog dialog(window, node);
        if (!dialog.RunModal())
            return;
        zString baseline;
        FormatNumber(DefaultNumericFormat, dialog.baseline, baseline, false, false, -9);
        if (dialog.variable == node.variableName && baseline == node.valueText && dialog.low == node.lowValue &&
            dialog.high == node.highValue)
            return;
        window.AddUndoAction(
            new NodeRangeVariableAction(&window, &node, dialog.variable, baseline, dialog.low, dialog.high));
    } else if (node.kind == InfluenceKind::Value) {
        NodeFormulaDialog dialog(window, node);
        if (!dialog.RunModal())
            return;
        const zString formula = dialog.UsesFormula() ? dialog.formula : zString();
        if (dialog.variable == node.variableName && formula == (node.noFormula != 0 ? zString() : node.formula))
            return;
        window.AddUndoAction(new NodeFormulaVariableAction(&window, &node, dialog.variable, formula));
    } else {
        NodeSkipValueDialog dialog(window, node);
        if (!dialog.RunModal())
            return;
        if (dialog.variable == node.variableName && dialog.valueText == node.valueText &&
            dialog.neverDefine == node.neverDefine)
            return;
        window.AddUndoAction(new NodeVariableAction(&window, &node, dialog.variable, dialog.valueText,
                                                    static_cast<int16_t>(dialog.neverDefine != 0)));
    }
}
