// The Calculation Method page: the method, the payoffs it uses, its optimal path and number format.

#include "app/PreferencesDialog.h"

#include "app/PreferencesPageValues.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "model/TreeDocument.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace {

const char* const MethodNames[] = {"Simple", "Cost-Effectiveness", "Benefit-Cost", "Multi-Attribute", nullptr};
const char* const PayoffNames[] = {"1", "2", "3", "4", nullptr};

} // namespace

void PreferencesDialog::BuildMethodPage()
{
    TreePreferenceValues& v = *values_;
    v.methodList = ComboIndexCtrl::FromTemplate(Page(), Ctl::CalculationMethodPage::MethodCombo, &v.method, 0);
    v.methodList->AddStrings(MethodNames);
    v.methodList->Load();
    v.methodList->OnSelChange(this, &PreferencesDialog::OnMethodChange);
    v.payoffList = ComboIndexCtrl::FromTemplate(Page(), Ctl::CalculationMethodPage::PayoffCombo, &v.currentPayoff, 0);
    v.secondList = ComboIndexCtrl::FromTemplate(Page(), Ctl::CalculationMethodPage::SecondPayoffCombo, &v.ceEff, 0);
    for (ComboBoxCtrl* list : {v.payoffList, v.secondList}) {
        list->AddStrings(PayoffNames);
        list->Load();
        list->OnSelChange(this, &PreferencesDialog::OnPayoffChange);
    }
    Page()->SetItemText(Ctl::CalculationMethodPage::PayoffNote, "for \"Cost\"");
    OnMethodChange(nullptr);
}

void PreferencesDialog::StoreMethodLists()
{
    for (ComboBoxCtrl* list : {values_->methodList, values_->payoffList, values_->secondList})
        if (list && list->Handle() && IsWindowEnabled(list->Handle()))
            list->Store();
}

void PreferencesDialog::CheckOptimalPath(bool checked)
{
    const int* path = values_->currentOptPath;
    if (path && *path != 0 && Page())
        Page()->CheckItem(static_cast<unsigned>(*path), checked);
}

// Shows the payoff lists and the optimal-path choice of the method chosen, bound to that method's values.
long PreferencesDialog::OnMethodChange(WindowEvent*)
{
    TreePreferenceValues& v = *values_;
    StoreMethodLists();
    CheckOptimalPath(false);
    const bool ratio = v.Method() == CostEffectivenessMethod || v.Method() == BenefitCostMethod;
    if (v.Method() == CostEffectivenessMethod) {
        v.currentOptPath = &v.costEffOptPath;
        v.payoffList->SetIndexBuffer(&v.ceCost, 0);
        v.secondList->SetIndexBuffer(&v.ceEff, 0);
        Page()->SetItemText(Ctl::CalculationMethodPage::SecondPayoffNote, "for \"Effectiveness\"");
    } else if (v.Method() == BenefitCostMethod) {
        v.currentOptPath = &v.benCostOptPath;
        v.payoffList->SetIndexBuffer(&v.bcCost, 0);
        v.secondList->SetIndexBuffer(&v.bcBenefit, 0);
        Page()->SetItemText(Ctl::CalculationMethodPage::SecondPayoffNote, "for \"Benefit\"");
    } else {
        v.currentOptPath = v.Method() == MultiAttributeMethod ? &v.multiAttrOptPath : &v.optPath[v.currentPayoff & 3];
        v.payoffList->SetIndexBuffer(&v.currentPayoff, 0);
        // Hidden, and showing what it is bound to, so that storing it changes nothing.
        v.secondList->SetIndexBuffer(&v.ceCost, 0);
    }
    const bool simple = v.Method() == PayoffMethod;
    ShowItem(Ctl::CalculationMethodPage::PayoffText, ratio || simple);
    ShowItem(Ctl::CalculationMethodPage::PayoffCombo, ratio || simple);
    for (unsigned control : {4078u, 4067u, 4068u, static_cast<unsigned>(Ctl::CalculationMethodPage::SecondPayoffCombo)})
        ShowItem(control, ratio);
    v.payoffList->Load();
    v.secondList->Load();
    for (unsigned control : {4138u, static_cast<unsigned>(Ctl::CalculationMethodPage::OptimalPathIsHigh),
                             static_cast<unsigned>(Ctl::CalculationMethodPage::OptimalPathIsLow)})
        ShowItem(control, !ratio);
    if (!ratio) {
        EnableItem(Ctl::CalculationMethodPage::OptimalPathIsHigh, !rolledBack_);
        EnableItem(Ctl::CalculationMethodPage::OptimalPathIsLow, !rolledBack_);
    }
    ShowItem(Ctl::CalculationMethodPage::CEParams, v.Method() == CostEffectivenessMethod);
    ShowItem(Ctl::CalculationMethodPage::SetWeightings, v.Method() == MultiAttributeMethod);
    CheckOptimalPath(true);
    ShowNumericSample();
    return 1;
}

long PreferencesDialog::OnPayoffChange(WindowEvent*)
{
    TreePreferenceValues& v = *values_;
    StoreMethodLists();
    if (v.Method() == PayoffMethod) {
        CheckOptimalPath(false);
        v.currentOptPath = &v.optPath[v.currentPayoff & 3];
        CheckOptimalPath(true);
    }
    ShowNumericSample();
    return 1;
}

void PreferencesDialog::ShowNumericSample()
{
    TreeCalcPrefs& calc = tree_->Document().CalcPrefs;
    const CalcMethodKind method = values_->Method();
    const NumericFormat& format = method == CostEffectivenessMethod ? calc.CostEffFormat
                                  : method == BenefitCostMethod     ? calc.BenCostFormat
                                  : method == MultiAttributeMethod  ? calc.MultiAttrFormat
                                                                    : calc.PayoffFormat(values_->currentPayoff);
    zString text;
    FormatNumber(format, 1234567.8901234, text, true, true, DigitsOfFormat);
    if (Page())
        Page()->SetItemText(Ctl::CalculationMethodPage::NumericFormatText, text.Text());
}

int PreferencesDialog::ValidatePage()
{
    if (!tree_ || PageId() != static_cast<int>(DialogRes::CalculationMethodPage))
        return 1;
    const TreePreferenceValues& v = *values_;
    if ((v.Method() == CostEffectivenessMethod && v.ceCost == v.ceEff) ||
        (v.Method() == BenefitCostMethod && v.bcCost == v.bcBenefit)) {
        ShowInfoBox(nullptr, "The two payoffs must be different.", 0);
        return 0;
    }
    return 1;
}
