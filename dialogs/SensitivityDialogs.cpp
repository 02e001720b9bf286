#include "dialogs/SensitivityDialogs.h"

#include "analysis/SensitivityResultGrid.h"
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

#include <windows.h>

namespace {

// Remembered for the process: the interval count (the threshold's degree of nonlinearity) and the tolerance.
int rememberedIntervals = 4;
double rememberedTolerance = 0.1;

HWND Control(const DialogFrameCL& dialog, unsigned id)
{
    WindowCL* control = dialog.FindChild(id);
    return control != nullptr ? control->Handle() : nullptr;
}

zString TextOf(const DialogFrameCL& dialog, unsigned id)
{
    char text[256] = {};
    GetWindowTextA(Control(dialog, id), text, sizeof text);
    return zString(text);
}

bool IsChecked(const DialogFrameCL& dialog, unsigned id)
{
    return SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(const DialogFrameCL& dialog, unsigned id, bool on)
{
    SendMessageA(Control(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

SensitivityRangeDialog::SensitivityRangeDialog(unsigned templateId, TreeDocument* window, TreeNode* node)
    : AppDialog(templateId), window(window), node(node)
{
    AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
        kVariableList, AsEventHandler(&SensitivityRangeDialog::OnVariableCommand), this, WM_COMMAND));
    AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
        kDefinitionsButton, AsEventHandler(&SensitivityRangeDialog::OnVariableCommand), this, WM_COMMAND));
}

void SensitivityRangeDialog::Prepare()
{
    lowField = AddRealFieldUnbounded(kLowField, &settings.low.value);
    highField = AddRealFieldUnbounded(kHighField, &settings.high.value);
    NameList names;
    FillVariableChoices(*window, names, 3);
    if (window->CalcPrefs.UseUtility != 0 && window->RiskAssessment.type == 1)
        names.AddText(kRiskCoefficientName);
    for (int i = 0; i < names.Count(); ++i)
        SendMessageA(Control(*this, kVariableList), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names.At(i)->Text()));
    SendMessageA(Control(*this, kVariableList), CB_SETCURSEL, 0, 0);
    SetChecked(*this, kCoherenceCheck, true);
    LoadVariable();
}

zString SensitivityRangeDialog::SelectedName() const
{
    const HWND list = Control(*this, kVariableList);
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    char text[256] = {};
    if (index != CB_ERR && SendMessageA(list, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return zString(text);
}

// A variable's block: its proposed range, its description and the variables it is correlated with.
void SensitivityRangeDialog::LoadVariable()
{
    const zString name = SelectedName();
    zString description;
    zString correlations;
    if (name == kRiskCoefficientName) {
        settings.low = settings.high = FormattedValue{zString(), window->RiskAssessment.coefficient};
    } else if (!name.IsEmpty()) {
        ReadStoredRange(name.Text(), node, window, settings.low.value, settings.high.value, &settings.low,
                        &settings.high);
        GetVariableDescription(*window, name.Text(), description);
        if (DocVariable* variable = window->FindVariable(name.Text(), false); variable && variable->correlations) {
            for (int i = 0; i < variable->correlations->Count(); ++i) {
                correlations += i == 0 ? "Correlations: " : ", ";
                correlations += variable->correlations->At(i)->name;
            }
        }
    }
    lowField->Load();
    highField->Load();
    SetWindowTextA(Control(*this, kDescriptionText), description.Text());
    SetWindowTextA(Control(*this, kCorrelationsText), correlations.Text());
}

long SensitivityRangeDialog::OnVariableCommand(WindowEvent* event)
{
    const unsigned id = LOWORD(event->wParam);
    if (id == kVariableList) {
        if (HIWORD(event->wParam) == CBN_SELCHANGE)
            LoadVariable();
        return 0;
    }
    const zString name = SelectedName();
    if (name == kRiskCoefficientName) {
        ShowInfoBox(nullptr, "There are no actual definitions of the risk preference coefficient. This button only "
                             "has meaning for true variables.", -1);
    } else if (!name.IsEmpty()) {
        ShowVariableDefinitions(*window, name.Text());
    }
    return 1;
}

int SensitivityRangeDialog::OkResult()
{
    if (!(settings.low.value < settings.high.value)) {
        ShowErrorBox(nullptr, "The high value must be greater than the low value.", -1);
        SetFocus(Control(*this, kHighField));
        SendMessageA(Control(*this, kHighField), EM_SETSEL, 0, -1);
        return 0;
    }
    settings.variable = SelectedName();
    settings.low.text = TextOf(*this, kLowField);
    settings.high.text = TextOf(*this, kHighField);
    settings.checkCoherence = IsChecked(*this, kCoherenceCheck);
    return 1;
}

void SensitivityRangeDialog::Conclude()
{
    if (!Result() || settings.variable.IsEmpty())
        return;
    result = 1;
    if (DocVariable* variable = window->FindVariable(settings.variable.Text(), false)) {
        variable->low = settings.low;
        variable->high = settings.high;
        variable->hasRange = 1;
    }
}

// The line choice is offered only at a decision node under a decision node; elsewhere it follows the node.
SensitivityDialog::SensitivityDialog(TreeDocument* window, TreeNode* node)
    : SensitivityRangeDialog(kTemplateId, window, node)
{
    intervals = rememberedIntervals;
    AddIntegerField(kIntervalsField, &intervals, 2, 50);
    Prepare();
    const bool offered = node->IsDecision() && node->parent != nullptr && node->parent->IsDecision();
    for (unsigned id : {kLinesCaption, kEachBranchRadio, kThisNodeRadio})
        ::ShowWindow(Control(*this, id), offered ? SW_SHOW : SW_HIDE);
    SetChecked(*this, kEachBranchRadio, true);
    settings.nodeOnly = !node->IsDecision();
    RunModal();
    Conclude();
    if (result != 0)
        rememberedIntervals = intervals;
}

int SensitivityDialog::OkResult()
{
    if (SensitivityRangeDialog::OkResult() == 0)
        return 0;
    settings.intervals = intervals;
    if (IsWindowVisible(Control(*this, kThisNodeRadio)))
        settings.nodeOnly = IsChecked(*this, kThisNodeRadio);
    return 1;
}

ThresholdDialog::ThresholdDialog(TreeDocument* window, TreeNode* node)
    : SensitivityRangeDialog(kTemplateId, window, node)
{
    tolerance = rememberedTolerance;
    AddRealFieldUnbounded(kToleranceField, &tolerance);
    Prepare();
    const unsigned checked = rememberedIntervals == 8 ? kLowRadio + 1 : rememberedIntervals == 12 ? kHighRadio : kLowRadio;
    SetChecked(*this, checked, true);
    RunModal();
    Conclude();
    if (result != 0) {
        rememberedIntervals = degree;
        rememberedTolerance = tolerance;
    }
}

int ThresholdDialog::OkResult()
{
    if (SensitivityRangeDialog::OkResult() == 0)
        return 0;
    const DocVariable* variable = window->FindVariable(settings.variable.Text(), false);
    if (variable != nullptr && variable->correlations != nullptr && variable->correlations->Count() > 0 &&
        AskYesNo(nullptr,
                 "This variable has correlations. Threshold analysis cannot currently include the correlated "
                 "variables in the analysis.\n\nProceed with the analysis?",
                 -1) != 1)
        return 0;
    degree = IsChecked(*this, kHighRadio) ? 12 : IsChecked(*this, kLowRadio + 1) ? 8 : 4;
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
