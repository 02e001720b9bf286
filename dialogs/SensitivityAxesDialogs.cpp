// The set-up dialogs of the two- and three-way sensitivity analyses: a block of controls per axis.

#include "dialogs/SensitivityDialogs.h"

#include "formula/CorrelationList.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NameList.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/window/HandlerDescriptor.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <windows.h>

namespace SensitivityAnalysisIds = Ctl::SensitivityAnalysis;
namespace Axes = Ctl::ThreeWaySensitivityAnalysis;
const unsigned SensitivityAxesDialog::kBlockIds[3][6] = {
    {Axes::VariableCombo, Axes::IntervalsEdit, Axes::LowValueEdit, Axes::HighValueEdit, Axes::VariableText,
     Axes::CorrelationsText},
    {Axes::SecondVariableCombo, Axes::SecondIntervalsEdit, Axes::SecondLowValueEdit, Axes::SecondHighValueEdit,
     Axes::SecondDescriptionText, Axes::SecondCorrelationsText},
    {Axes::ThirdVariableCombo, Axes::ThirdIntervalsEdit, Axes::ThirdLowValueEdit, Axes::ThirdHighValueEdit,
     Axes::ThirdDescriptionText, Axes::ThirdCorrelationsText},
};

SensitivityAxesDialog::SensitivityAxesDialog(unsigned templateId, TreeDocument* document, TreeNode* node, int axisCount)
    : AppDialog(templateId), document(document), node(node), axisCount(axisCount)
{
    for (int k = 0; k < axisCount; ++k) {
        for (int c = 0; c < 4; ++c)
            AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
                kBlockIds[k][c], AsEventHandler(&SensitivityAxesDialog::OnBlockCommand), this, WM_COMMAND));
    }
    AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(SensitivityAnalysisIds::ViewDefinitions,
                                                             AsEventHandler(&SensitivityAxesDialog::OnBlockCommand),
                                                             this, WM_COMMAND));
}

int SensitivityAxesDialog::Run()
{
    NameList names;
    FillVariableChoices(*document, names, 3);
    for (int k = 0; k < axisCount; ++k) {
        axes[k].intervals = RememberedIntervals();
        AddIntegerField(kBlockIds[k][1], &axes[k].intervals, 2, 50);
        lowFields[k] = AddRealFieldUnbounded(kBlockIds[k][2], &axes[k].low.value);
        highFields[k] = AddRealFieldUnbounded(kBlockIds[k][3], &axes[k].high.value);
        const HWND list = Control(kBlockIds[k][0]);
        for (int i = 0; i < names.Count(); ++i)
            SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names.At(i)->Text()));
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        LoadAxis(k);
    }
    CheckItem(SensitivityAnalysisIds::CheckCoherence, true);
    RunModal();
    if (!Result())
        return result;
    result = 1;
    RememberIntervals(axes[0].intervals);
    for (int k = 0; k < axisCount; ++k)
        if (axes[k].low.value < axes[k].high.value)
            StoreSetUpRange(*document, axes[k].variable.Text(), axes[k].low, axes[k].high);
    return result;
}

zString SensitivityAxesDialog::SelectedName(int k) const
{
    const HWND list = Control(kBlockIds[k][0]);
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    char text[256] = {};
    if (index != CB_ERR && SendMessageA(list, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return zString(text);
}

void SensitivityAxesDialog::LoadAxis(int k)
{
    LoadVariableBlock(*this, document, node, SelectedName(k), axes[k].low, axes[k].high, kBlockIds[k][4],
                      kBlockIds[k][5]);
    lowFields[k]->Load();
    highFields[k]->Load();
}

// A block's controls tell which block "View Definitions" is about; a new variable loads its block.
long SensitivityAxesDialog::OnBlockCommand(WindowEvent* event)
{
    const unsigned id = event->CommandId();
    if (id == SensitivityAnalysisIds::ViewDefinitions) {
        ShowDefinitionsOf(document, SelectedName(focusedAxis));
        return 1;
    }
    const unsigned code = event->NotifyCode();
    for (int k = 0; k < axisCount; ++k) {
        if (id == kBlockIds[k][0] && code == CBN_SELCHANGE)
            LoadAxis(k);
        for (int c = 0; c < 4; ++c) {
            if (id == kBlockIds[k][c] && (code == CBN_SETFOCUS || code == EN_SETFOCUS))
                focusedAxis = k;
        }
    }
    return 0;
}

bool SensitivityAxesDialog::AcceptCorrelations(int a, int b)
{
    const DocVariable* first = document->FindVariable(axes[a].variable.Text(), false);
    const DocVariable* second = document->FindVariable(axes[b].variable.Text(), false);
    if (first == nullptr || second == nullptr || first->correlations == nullptr || second->correlations == nullptr)
        return true;
    if (first->correlations->ContainsName(second->upperName) &&
        AskYesNo(nullptr,
                 "The variables you have selected are correlated, and are unsuited to independent-variable "
                 "analysis.  You should disable the correlations in the next dialogs, or select different "
                 "variables.\n\nProceed with this analysis?",
                 -1) != 1)
        return false;
    for (int i = 0; i < first->correlations->Count(); ++i) {
        const zString& shared = first->correlations->At(i)->name;
        if (!second->correlations->ContainsName(shared))
            continue;
        zString display;
        VariableDisplayName(*document, shared.Text(), display);
        zString question("The variables you have selected are correlated to the variable \"");
        question += display;
        question += "\", and are unsuited to independent-variable analysis. You should disable the correlations in "
                    "the next dialogs, or select different variables.\n\nProceed with this analysis?";
        if (AskYesNo(nullptr, question.Text(), -1) != 1)
            return false;
    }
    return true;
}

int SensitivityAxesDialog::OkResult()
{
    for (int k = 0; k < axisCount; ++k) {
        if (!(axes[k].low.value < axes[k].high.value)) {
            ShowErrorBox(nullptr, "The high values must be greater than the low values.", -1);
            SelectField(kBlockIds[k][3]);
            return 0;
        }
    }
    for (int k = 0; k < axisCount; ++k) {
        axes[k].variable = SelectedName(k);
        axes[k].low.text = ItemText(kBlockIds[k][2]);
        axes[k].high.text = ItemText(kBlockIds[k][3]);
    }
    const bool sameXY = axes[0].variable == axes[1].variable;
    const bool sameThird = axisCount == 3 && (axes[2].variable == axes[0].variable || axes[2].variable == axes[1].variable);
    if (sameXY || sameThird) {
        ShowErrorBox(nullptr, "The variables must be different.", -1);
        SetFocus(Control(kBlockIds[sameThird ? 2 : 1][0]));
        return 0;
    }
    const int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (int p = 0; p < (axisCount == 3 ? 3 : 1); ++p) {
        if (!AcceptCorrelations(pairs[p][0], pairs[p][1])) {
            SetFocus(Control(kBlockIds[p == 0 ? 1 : 2][0]));
            return 0;
        }
    }
    checkCoherence = IsItemChecked(SensitivityAnalysisIds::CheckCoherence);
    return 1;
}

TwoWaySensitivityDialog::TwoWaySensitivityDialog(TreeDocument* document, TreeNode* node)
    : SensitivityAxesDialog(DialogRes::TwoWaySensitivityAnalysis, document, node, 2)
{
}

TwoWaySettings TwoWaySensitivityDialog::Settings() const
{
    TwoWaySettings settings;
    settings.x = axes[0];
    settings.y = axes[1];
    settings.checkCoherence = checkCoherence;
    return settings;
}

ThreeWaySensitivityDialog::ThreeWaySensitivityDialog(TreeDocument* document, TreeNode* node)
    : SensitivityAxesDialog(DialogRes::ThreeWaySensitivityAnalysis, document, node, 3)
{
}

ThreeWaySettings ThreeWaySensitivityDialog::Settings() const
{
    ThreeWaySettings settings;
    settings.x = axes[0];
    settings.y = axes[1];
    settings.z = axes[2];
    settings.checkCoherence = checkCoherence;
    return settings;
}
