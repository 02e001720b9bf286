// The working copy of a tree's settings read from the tree's records, and written back to them at OK.

#include "app/PreferencesDialog.h"

#include "app/StartProgram.h"
#include "app/PreferencesPageValues.h"
#include "foundation/PreferenceRecord.h"
#include "foundation/PreferencesFonts.h"
#include "model/TreeDocument.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <cstdint>

namespace {

int ChoiceId(int value, unsigned first, int count, int other)
{
    return static_cast<int>(first) + (value >= 0 && value < count ? value : other);
}

int ChoiceValue(int id, unsigned first, int count, int other)
{
    const int index = id - static_cast<int>(first);
    return index >= 0 && index < count ? index : other;
}

FontRecord TreeDisplayPrefs::*const TreeFonts[4] = {&TreeDisplayPrefs::TreeFont, &TreeDisplayPrefs::ProbFont,
                                                    &TreeDisplayPrefs::EVFont, &TreeDisplayPrefs::VariablesFont};
// The application's default fonts the tree's fonts become when saved.
const DefaultFontIndex DefaultFontOf[5] = {TreeFont, ProbFont, EVFont, VariablesFont, PageHeaderFont};
const char* const DefaultFontNames[5] = {"Tree", "Prob", "EV", "Variables", "PageHeader"};

// Optimal-path directions as the High/Low radio ids: 1 high, 0 low, anything else neither.
int PathId(int32_t path)
{
    if (path == 1)
        return Ctl::CalculationMethodPage::OptimalPathIsHigh;
    return path == 0 ? static_cast<int>(Ctl::CalculationMethodPage::OptimalPathIsLow) : 0;
}

int32_t PathValue(int id)
{
    return id == Ctl::CalculationMethodPage::OptimalPathIsLow ? 0 : 1;
}

} // namespace

void PreferencesDialog::LoadTreeValues()
{
    TreePreferenceValues& v = *values_;
    const TreeDocument& document = tree_->Document();
    const TreeDisplayPrefs& display = document.DisplayPrefs;
    const TreeCalcPrefs& calc = document.CalcPrefs;
    for (int i = 0; i < DisplayCheckCount; ++i)
        v.displayChecks[i] = display.*DisplayChecks[i].key;
    for (int i = 0; i < CalcCheckCount; ++i)
        v.calcChecks[i] = calc.*CalcChecks[i].key;
    for (int i = 0; i < DisplayChoiceCount; ++i) {
        const DisplayChoice& choice = DisplayChoices[i];
        v.choices[i] = ChoiceId(display.*choice.key, choice.first, choice.count, choice.other);
    }
    v.addAbove =
        display.AddAbove != 0 ? Ctl::TreeDisplayPage::AddBranchesAtTop : Ctl::TreeDisplayPage::AddBranchesAtBottom;
    v.numberingText = display.TermNumString.IsEmpty() ? zString("{^}") : display.TermNumString;
    v.branchesPerNode = display.BranchesPerNode;
    v.zoom = display.PrintZoomFact;
    for (int i = 0; i < 4; ++i)
        v.fonts[i] = display.*TreeFonts[i];
    v.method = static_cast<int>(calc.CalcMethod);
    v.currentPayoff = calc.CurrentPayoff;
    v.bcCost = calc.BCCostPayoff;
    v.bcBenefit = calc.BCBenefitPayoff;
    v.ceCost = calc.CECostPayoff;
    v.ceEff = calc.CEEffPayoff;
    for (int i = 0; i < 4; ++i)
        v.optPath[i] = PathId(calc.OptPath[i]);
    v.multiAttrOptPath = PathId(calc.MultiAttrOptPath);
    const RiskPrefAssessment& risk = document.RiskAssessment;
    v.riskKind = risk.type == 1 || !risk.pointsAssessed ? Ctl::RiskPreferencesPage::ConstantRiskAversion
                                                        : Ctl::RiskPreferencesPage::NonConstantRisk;
    v.rollBackKind = ChoiceId(calc.RollBackCalculatesKey, Ctl::RollBackPage::RollBackCalculatesExpectedValues, 4, 0);
}

void PreferencesDialog::ApplyTreeDisplay()
{
    const TreePreferenceValues& v = *values_;
    TreeDisplayPrefs& display = tree_->Document().DisplayPrefs;
    display.AddAbove = v.addAbove == Ctl::TreeDisplayPage::AddBranchesAtBottom ? 0 : 1;
    for (int i = 0; i < DisplayCheckCount; ++i) {
        uint8_t& key = display.*DisplayChecks[i].key;
        const auto value = static_cast<uint8_t>(v.displayChecks[i]);
        if (DisplayChecks[i].relayout && key != value)
            relayout_ = 1;
        key = value;
    }
    for (int i = 0; i < DisplayChoiceCount; ++i) {
        const DisplayChoice& choice = DisplayChoices[i];
        int32_t& key = display.*choice.key;
        const int32_t value = ChoiceValue(v.choices[i], choice.first, choice.count, choice.other);
        if (choice.relayout && key != value)
            relayout_ = 1;
        key = value;
    }
    // The numbers' text is measured into the end nodes' labels.
    if (display.ShowTermNodeNumbers != 0 && !(display.TermNumString == v.numberingText))
        relayout_ = 1;
    display.TermNumString = v.numberingText;
    display.BranchesPerNode = static_cast<uint8_t>(v.branchesPerNode);
    display.PrintZoomFact = static_cast<uint8_t>(v.zoom);
    for (int i = 0; i < 4; ++i) {
        FontRecord& font = display.*TreeFonts[i];
        if (!(font == v.fonts[i]))
            relayout_ = 1;
        font = v.fonts[i];
    }
}

void PreferencesDialog::ApplyTreeCalculation()
{
    const TreePreferenceValues& v = *values_;
    TreeDocument& document = tree_->Document();
    const TreeDisplayPrefs& display = document.DisplayPrefs;
    TreeCalcPrefs& calc = document.CalcPrefs;
    // Payoff names and variable marks show the payoffs the method uses: a change moves them.
    const bool payoffsShown = display.MarkNodesWithVars != 0 || display.AlwaysShowPayoffs != 0;
    if (payoffsShown && (calc.CalcMethod != v.Method() || calc.CurrentPayoff != v.currentPayoff ||
                         calc.BCCostPayoff != v.bcCost || calc.BCBenefitPayoff != v.bcBenefit ||
                         calc.CECostPayoff != v.ceCost || calc.CEEffPayoff != v.ceEff))
        relayout_ = 1;
    calc.CalcMethod = v.Method();
    calc.CurrentPayoff = static_cast<int8_t>(v.currentPayoff);
    calc.BCCostPayoff = static_cast<int8_t>(v.bcCost);
    calc.BCBenefitPayoff = static_cast<int8_t>(v.bcBenefit);
    calc.CECostPayoff = static_cast<int8_t>(v.ceCost);
    calc.CEEffPayoff = static_cast<int8_t>(v.ceEff);
    for (int i = 0; i < CalcCheckCount; ++i)
        calc.*CalcChecks[i].key = static_cast<uint8_t>(v.calcChecks[i]);
    // Only a function that has been assessed becomes the tree's: a kind never entered has no values.
    RiskPrefAssessment& risk = document.RiskAssessment;
    if (v.riskKind == Ctl::RiskPreferencesPage::ConstantRiskAversion && risk.constantAssessed)
        risk.type = 1;
    else if (v.riskKind == Ctl::RiskPreferencesPage::NonConstantRisk && risk.pointsAssessed)
        risk.type = 2;
    calc.RollBackCalculatesKey = ChoiceValue(v.rollBackKind, Ctl::RollBackPage::RollBackCalculatesExpectedValues, 4, 0);
    for (int i = 0; i < 4; ++i)
        calc.OptPath[i] = PathValue(v.optPath[i]);
    calc.MultiAttrOptPath = PathValue(v.multiAttrOptPath);
    calc.CostEffOptPath = PathValue(v.costEffOptPath);
    calc.BenCostOptPath = PathValue(v.benCostOptPath);
}

// "Sa&ve settings": the tree's records become the saved preferences, and its fonts the default fonts.
void PreferencesDialog::SaveTreeSettings()
{
    TreeDisplayPrefs& display = tree_->Document().DisplayPrefs;
    SavePreferences(display);
    SavePreferences(tree_->Document().CalcPrefs);
    const FontRecord* fonts[5] = {&display.TreeFont, &display.ProbFont, &display.EVFont, &display.VariablesFont,
                                  &display.PageHeaderFont};
    for (int i = 0; i < 5; ++i) {
        if (FontRecord* preference = TheProgram()->DefaultFont(DefaultFontOf[i])) {
            *preference = *fonts[i];
            SaveFontPreference(*preference, DefaultFontNames[i]);
        }
    }
}
