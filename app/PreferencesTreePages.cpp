// The pages of a tree window's settings: their controls, the rules between them, and their buttons.

#include "app/PreferencesDialog.h"

#include "widgets/FontSampleControl.h"
#include "treewin/CEParamsDialog.h"
#include "treewin/ColumnsDialog.h"
#include "treewin/MultiAttrWeightDialog.h"
#include "dialogs/NumericFormatDialog.h"
#include "app/PreferencesPageValues.h"
#include "dialogs/RiskPreferenceDialogs.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/RadioGroup.h"
#include "model/TreeDocument.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace {

// A check box that enables another control while it is checked (or while unchecked); an exclusive pair
// also clears the control it disables.
struct CheckRule {
    unsigned check;
    unsigned dependent;
    bool whenChecked;
    bool exclusive;
};
const CheckRule CheckRules[] = {
    {Ctl::TerminalNodesPage::DisplayPayoffNames, Ctl::TerminalNodesPage::Boxed, true, false},
    {Ctl::TerminalNodesPage::AutomaticNodeNumbering, Ctl::TerminalNodesPage::NumberingTextEdit, true, false},
    {Ctl::TerminalNodesPage::ShowColumns, Ctl::TerminalNodesPage::SetColumns, true, false},
    {Ctl::NodeDisplayPage::HideAllNodeTexts, Ctl::NodeDisplayPage::HideProbabilitiesOnly, false, false},
    {Ctl::TreeDisplayPage::AlignEndnodes, Ctl::TreeDisplayPage::MinimizeEmptySpace, false, true},
    {Ctl::TreeDisplayPage::MinimizeEmptySpace, Ctl::TreeDisplayPage::AlignEndnodes, false, true},
    {Ctl::PrintingOfATreePage::ShowPageBreaksInTreeWindow, Ctl::PrintingOfATreePage::ShowPageHeadersInTreeWindow, true,
     false},
};

// What changes what roll back computes cannot change while the tree is rolled back.
const unsigned RolledBackLocked[] = {Ctl::CalculationMethodPage::MethodCombo,
                                     Ctl::CalculationMethodPage::PayoffCombo,
                                     Ctl::CalculationMethodPage::SecondPayoffCombo,
                                     Ctl::CalculationMethodPage::SetWeightings,
                                     Ctl::CalculationMethodPage::CEParams,
                                     Ctl::CalculationMethodPage::OptimalPathIsHigh,
                                     Ctl::CalculationMethodPage::OptimalPathIsLow,
                                     Ctl::RollBackPage::DisplayEVAtTerminalAnd,
                                     Ctl::RollBackPage::RollBackCalculatesExpectedValues,
                                     Ctl::RollBackPage::RollBackCalculatesPathProbabilities,
                                     Ctl::RollBackPage::RollBackCalculatesPayoffsOnly,
                                     Ctl::RollBackPage::RollBackCalculatesMaximin,
                                     Ctl::OtherCalcPrefsPage::AllowTerminalNodeNameToActAs};

// Font buttons and samples of the Fonts page.
const unsigned FontButtons[4] = {Ctl::FontsPage::NodeFont, Ctl::FontsPage::ProbFont, Ctl::FontsPage::EVFont,
                                 Ctl::FontsPage::VariablesFont};
const unsigned FontSamples[4] = {Ctl::FontsPage::NodeFontSample, Ctl::FontsPage::ProbFontSample,
                                 Ctl::FontsPage::EVFontSample, Ctl::FontsPage::VariablesFontSample};

} // namespace

void PreferencesDialog::BuildTreePage()
{
    TreePreferenceValues& v = *values_;
    DialogPage* page = Page();
    const int id = PageId();
    for (int i = 0; i < DisplayCheckCount; ++i)
        if (DisplayChecks[i].page == id)
            CheckBoxCtrl::FromTemplate(page, DisplayChecks[i].id, &v.displayChecks[i]);
    for (int i = 0; i < CalcCheckCount; ++i)
        if (CalcChecks[i].page == id)
            CheckBoxCtrl::FromTemplate(page, CalcChecks[i].id, &v.calcChecks[i]);
    for (int i = 0; i < DisplayChoiceCount; ++i) {
        const DisplayChoice& choice = DisplayChoices[i];
        if (choice.page != id)
            continue;
        auto* group = new RadioGroup(page, choice.first, choice.first + choice.count - 1, &v.choices[i], 0);
        if (choice.first == Ctl::VariablesDisplayPage::NoDifferently)
            group->SetNotification(this, &PreferencesDialog::OnVariableMarkingChange);
    }
    switch (id) {
    case DialogRes::CalculationMethodPage:
        BuildMethodPage();
        break;
    case DialogRes::RollBackPage:
        new RadioGroup(page, Ctl::RollBackPage::RollBackCalculatesExpectedValues,
                       Ctl::RollBackPage::RollBackCalculatesExpectedValues + 3, &v.rollBackKind, 0);
        break;
    case DialogRes::RiskPreferencesPage: {
        new RadioGroup(page, Ctl::RiskPreferencesPage::ConstantRiskAversion, Ctl::RiskPreferencesPage::NonConstantRisk,
                       &v.riskKind, 0);
        const RiskPrefAssessment& risk = tree_->Document().RiskAssessment;
        const bool locked = rolledBack_ || v.Method() != PayoffMethod;
        if (!risk.pointsAssessed)
            EnableItem(Ctl::RiskPreferencesPage::NonConstantRisk, false);
        if (!risk.constantAssessed)
            EnableItem(Ctl::RiskPreferencesPage::ConstantRiskAversion, false);
        if (locked || (!risk.pointsAssessed && !risk.constantAssessed))
            for (unsigned control : {4070u, 4071u, 4072u})
                EnableItem(control, false);
        if (locked) {
            EnableItem(Ctl::RiskPreferencesPage::EnterConstantRiskAversion, false);
            EnableItem(Ctl::RiskPreferencesPage::EnterNonConstantRisk, false);
        }
        break;
    }
    case DialogRes::TerminalNodesPage:
        EditCtrl::FromTemplate(page, Ctl::TerminalNodesPage::NumberingTextEdit, &v.numberingText,
                               CtrlWindowCL::MayBeEmpty)
            ->Load();
        break;
    case DialogRes::VariablesDisplayPage:
        OnVariableMarkingChange(nullptr);
        break;
    case DialogRes::TreeDisplayPage:
        AddPageIntegerField(Ctl::TreeDisplayPage::DefaultBranchesPerNodeEdit, &v.branchesPerNode, 1, 20);
        new RadioGroup(page, Ctl::TreeDisplayPage::AddBranchesAtTop, Ctl::TreeDisplayPage::AddBranchesAtBottom,
                       &v.addAbove, 0);
        break;
    case DialogRes::FontsPage:
        for (int i = 0; i < 4; ++i)
            v.samples[i] = std::make_unique<FontSampleControl>(page, FontButtons[i], &v.fonts[i], FontSamples[i],
                                                               v.display.get());
        break;
    case DialogRes::PrintingOfATreePage:
        AddPageIntegerField(Ctl::PrintingOfATreePage::PrintingZoomFactorEdit, &v.zoom, 5, 250);
        break;
    default:
        break;
    }
    for (const CheckRule& rule : CheckRules) {
        HWND check = Item(rule.check);
        if (check && IsWindowEnabled(check))
            EnableItem(rule.dependent, (*v.DisplayCheck(rule.check) != 0) == rule.whenChecked);
    }
    if (rolledBack_)
        for (unsigned control : RolledBackLocked)
            EnableItem(control, false);
}

long PreferencesDialog::OnVariableMarkingChange(WindowEvent*)
{
    const bool full = Page() && Page()->IsItemChecked(Ctl::VariablesDisplayPage::FullDefinitionsInTree);
    for (unsigned control : {4028u, 4057u}) {
        if (!full && Page())
            Page()->CheckItem(control, false);
        EnableItem(control, full);
    }
    return 1;
}

// A button of a tree page: the check rules first, then the page's own buttons.
long PreferencesDialog::OnTreePageClick(unsigned id, unsigned code, HWND control)
{
    TreePreferenceValues& v = *values_;
    TreeDocument& document = tree_->Document();
    TreeCalcPrefs& calc = document.CalcPrefs;
    for (const CheckRule& rule : CheckRules) {
        if (rule.check != id)
            continue;
        int* checked = v.DisplayCheck(id);
        *checked = Page()->IsItemChecked(id) ? 1 : 0;
        const bool enable = (*checked != 0) == rule.whenChecked;
        EnableItem(rule.dependent, enable);
        if (rule.exclusive && !enable) {
            Page()->CheckItem(rule.dependent, false);
            *v.DisplayCheck(rule.dependent) = 0;
        }
        return 1;
    }
    switch (id) {
    case Ctl::CalculationMethodPage::OptimalPathIsHigh:
    case Ctl::CalculationMethodPage::OptimalPathIsLow:
        CheckOptimalPath(false);
        if (v.currentOptPath)
            *v.currentOptPath = static_cast<int>(id);
        CheckOptimalPath(true);
        return 1;
    case Ctl::CalculationMethodPage::SetNumericFormat:
        StoreMethodLists();
        if (v.Method() == CostEffectivenessMethod)
            subDialogAccepted_ |= RunNumericFormatPrefsDialog(calc.CostEffFormat, calc.PayoffFormat(v.ceCost),
                                                              calc.PayoffFormat(v.ceEff), v.ceCost, v.ceEff) != 0;
        else
            subDialogAccepted_ |=
                RunNumericFormatDialog(calc.CurrentNumericFormat(), v.method, v.payoffList->GetCurSel()) != 0;
        ShowNumericSample();
        return 1;
    case Ctl::CalculationMethodPage::SetWeightings:
        OpenMultiAttributeWeighting(tree_);
        return 1;
    case Ctl::TerminalNodesPage::SetColumns:
        RunColumnsDialog(*tree_);
        return 1;
    case Ctl::PrintingOfATreePage::PageHeader:
        tree_->EditPageHeader();
        return 1;
    case Ctl::CalculationMethodPage::CEParams:
        OpenCEParameters(tree_);
        return 1;
    case Ctl::RiskPreferencesPage::EnterConstantRiskAversion:
    case Ctl::RiskPreferencesPage::EnterNonConstantRisk: {
        const int done = id == Ctl::RiskPreferencesPage::EnterConstantRiskAversion
                             ? AssessConstantRiskAversion(&document)
                             : EnterRiskPreference(&document);
        if (done) {
            tree_->SetModified(1);
            const RiskPrefAssessment& risk = document.RiskAssessment;
            EnableItem(Ctl::RiskPreferencesPage::ConstantRiskAversion, risk.constantAssessed != 0);
            EnableItem(Ctl::RiskPreferencesPage::NonConstantRisk, risk.pointsAssessed != 0);
            EnableItem(Ctl::RiskPreferencesPage::UseRiskPreferenceFunction, true);
        }
        return 1;
    }
    default:
        return HookedDialog::OnCommandId(id, code, control);
    }
}
