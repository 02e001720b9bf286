#include "dialogs/SensitivityDialogs.h"

#include "analysis/SensitivityResultGrid.h"
#include "widgets/MimicRunTime.h"
#include "formula/CorrelationList.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NameList.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/window/HandlerDescriptor.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/RiskPrefAssessment.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <windows.h>

namespace SensitivityAnalysisIds = Ctl::SensitivityAnalysis;
namespace ThresholdAnalysisIds = Ctl::ThresholdAnalysis;

namespace {

// Remembered for the process: the interval count (the threshold's degree of nonlinearity) and the tolerance.
int rememberedIntervals = 4;
double rememberedTolerance = 0.1;

} // namespace

int RememberedIntervals()
{
    return rememberedIntervals;
}

void RememberIntervals(int count)
{
    rememberedIntervals = count;
}

void LoadVariableBlock(const DialogFrameCL& dialog, TreeDocument* document, TreeNode* node, const zString& name,
                       FormattedValue& low, FormattedValue& high, unsigned descriptionId, unsigned correlationsId)
{
    zString description;
    zString correlations;
    if (name == kRiskCoefficientName) {
        low = high = FormattedValue{zString(), document->RiskAssessment.coefficient};
    } else if (!name.IsEmpty()) {
        ReadStoredRange(name.Text(), node, document, low.value, high.value, &low, &high);
        GetVariableDescription(*document, name.Text(), description);
        if (const DocVariable* variable = document->FindVariable(name.Text(), false))
            correlations = CorrelationsText(*document, *variable);
    }
    SetWindowTextA(dialog.Control(descriptionId), description.Text());
    SetWindowTextA(dialog.Control(correlationsId), correlations.Text());
}

zString CorrelationsText(const TreeDocument& document, const DocVariable& variable)
{
    zString text;
    for (int i = 0; variable.correlations != nullptr && i < variable.correlations->Count(); ++i) {
        // A partner's entry holds the name upper-cased: the partner itself says how it is written.
        const zString& name = variable.correlations->At(i)->name;
        const DocVariable* partner = document.FindVariable(name.Text(), false);
        text += i == 0 ? "Correlations: " : ", ";
        text += partner != nullptr ? partner->name : name;
    }
    return text;
}

// "View Definitions": the nodes defining the variable, or why there are none.
void ShowDefinitionsOf(TreeDocument* document, const zString& name)
{
    if (name == kRiskCoefficientName) {
        ShowInfoBox(nullptr, "There are no actual definitions of the risk preference coefficient. This button only "
                             "has meaning for true variables.", -1);
    } else if (!name.IsEmpty()) {
        ShowVariableDefinitions(*document, name.Text());
    }
}


SensitivityRangeDialog::SensitivityRangeDialog(unsigned templateId, TreeDocument* document, TreeNode* node)
    : AppDialog(templateId), document(document), node(node)
{
    AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(SensitivityAnalysisIds::VariableCombo,
                                                             AsEventHandler(&SensitivityRangeDialog::OnVariableCommand),
                                                             this, WM_COMMAND));
    AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(SensitivityAnalysisIds::ViewDefinitions,
                                                             AsEventHandler(&SensitivityRangeDialog::OnVariableCommand),
                                                             this, WM_COMMAND));
}

void SensitivityRangeDialog::Prepare()
{
    lowField = AddRealFieldUnbounded(SensitivityAnalysisIds::LowValueEdit, &settings.low.value);
    highField = AddRealFieldUnbounded(SensitivityAnalysisIds::HighValueEdit, &settings.high.value);
    NameList names;
    FillVariableChoices(*document, names, 3);
    if (document->CalcPrefs.UseUtility != 0 && document->RiskAssessment.type == 1)
        names.AddText(kRiskCoefficientName);
    for (int i = 0; i < names.Count(); ++i)
        SendMessageA(Control(SensitivityAnalysisIds::VariableCombo), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(names.At(i)->Text()));
    SendMessageA(Control(SensitivityAnalysisIds::VariableCombo), CB_SETCURSEL, 0, 0);
    CheckItem(SensitivityAnalysisIds::CheckCoherence, true);
    LoadVariable();
}

zString SensitivityRangeDialog::SelectedName() const
{
    const HWND list = Control(SensitivityAnalysisIds::VariableCombo);
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    char text[256] = {};
    if (index != CB_ERR && SendMessageA(list, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return zString(text);
}

// A variable's block: its proposed range, its description and the variables it is correlated with.
void SensitivityRangeDialog::LoadVariable()
{
    LoadVariableBlock(*this, document, node, SelectedName(), settings.low, settings.high,
                      SensitivityAnalysisIds::VariableText, SensitivityAnalysisIds::CorrelationsText);
    lowField->Load();
    highField->Load();
}

long SensitivityRangeDialog::OnVariableCommand(WindowEvent* event)
{
    const unsigned id = event->CommandId();
    if (id == SensitivityAnalysisIds::VariableCombo) {
        if (event->NotifyCode() == CBN_SELCHANGE)
            LoadVariable();
        return 0;
    }
    ShowDefinitionsOf(document, SelectedName());
    return 1;
}

int SensitivityRangeDialog::OkResult()
{
    if (!(settings.low.value < settings.high.value)) {
        ShowErrorBox(nullptr, "The high value must be greater than the low value.", -1);
        SelectField(SensitivityAnalysisIds::HighValueEdit);
        return 0;
    }
    settings.variable = SelectedName();
    settings.low.text = ItemText(SensitivityAnalysisIds::LowValueEdit);
    settings.high.text = ItemText(SensitivityAnalysisIds::HighValueEdit);
    settings.checkCoherence = IsItemChecked(SensitivityAnalysisIds::CheckCoherence);
    return 1;
}

void StoreSetUpRange(TreeDocument& tree, const char* name, const FormattedValue& low, const FormattedValue& high)
{
    DocVariable* variable = tree.FindVariable(name, false);
    if (variable == nullptr || IsMimicRunTime())
        return;
    variable->low = low;
    variable->high = high;
    variable->hasRange = 1;
}

void SensitivityRangeDialog::Conclude()
{
    if (!Result() || settings.variable.IsEmpty())
        return;
    result = 1;
    StoreSetUpRange(*document, settings.variable.Text(), settings.low, settings.high);
}

// The line choice is offered only at a decision node under a decision node; elsewhere it follows the node.
SensitivityDialog::SensitivityDialog(TreeDocument* document, TreeNode* node)
    : SensitivityRangeDialog(DialogRes::SensitivityAnalysis, document, node)
{
    intervals = rememberedIntervals;
    AddIntegerField(SensitivityAnalysisIds::NumberOfIntervalsEdit, &intervals, 2, 50);
    Prepare();
    const bool offered = node->IsDecision() && node->parent != nullptr && node->parent->IsDecision();
    for (unsigned id :
         {SensitivityAnalysisIds::DrawOneSensitivityLineForText, SensitivityAnalysisIds::EachBranchOfThisDecisionNode,
          SensitivityAnalysisIds::ThisNodeOnlyAsABranchOfItsParent})
        ShowItem(id, offered);
    CheckItem(SensitivityAnalysisIds::EachBranchOfThisDecisionNode, true);
    settings.nodeOnly = !node->IsDecision();
}

int SensitivityDialog::Run()
{
    RunModal();
    Conclude();
    if (result != 0)
        rememberedIntervals = intervals;
    return result;
}

int SensitivityDialog::OkResult()
{
    if (SensitivityRangeDialog::OkResult() == 0)
        return 0;
    settings.intervals = intervals;
    if (IsWindowVisible(Control(SensitivityAnalysisIds::ThisNodeOnlyAsABranchOfItsParent)))
        settings.nodeOnly = IsItemChecked(SensitivityAnalysisIds::ThisNodeOnlyAsABranchOfItsParent);
    return 1;
}

ThresholdDialog::ThresholdDialog(TreeDocument* document, TreeNode* node)
    : SensitivityRangeDialog(DialogRes::ThresholdAnalysis, document, node)
{
    tolerance = rememberedTolerance;
    AddRealFieldUnbounded(ThresholdAnalysisIds::ToleranceField, &tolerance);
    Prepare();
    const unsigned checked = rememberedIntervals == 8 ? ThresholdAnalysisIds::Low + 1
        : rememberedIntervals == 12                   ? ThresholdAnalysisIds::HighDonTKnow
                                                      : ThresholdAnalysisIds::Low;
    CheckItem(checked, true);
}

int ThresholdDialog::Run()
{
    RunModal();
    Conclude();
    if (result != 0) {
        rememberedIntervals = degree;
        rememberedTolerance = tolerance;
    }
    return result;
}

int ThresholdDialog::OkResult()
{
    if (SensitivityRangeDialog::OkResult() == 0)
        return 0;
    const DocVariable* variable = document->FindVariable(settings.variable.Text(), false);
    if (variable != nullptr && variable->correlations != nullptr && variable->correlations->Count() > 0 &&
        AskYesNo(nullptr,
                 "This variable has correlations. Threshold analysis cannot currently include the correlated "
                 "variables in the analysis.\n\nProceed with the analysis?",
                 -1) != 1)
        return 0;
    degree = IsItemChecked(ThresholdAnalysisIds::HighDonTKnow) ? 12
        : IsItemChecked(ThresholdAnalysisIds::Low + 1)         ? 8
                                                               : 4;
    settings.intervals = degree;
    return 1;
}

ThresholdSettings ThresholdDialog::Threshold() const
{
    ThresholdSettings threshold;
    static_cast<OneWaySettings&>(threshold) = settings;
    threshold.tolerance = tolerance;
    return threshold;
}
