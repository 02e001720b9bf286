#include "dialogs/CustomInterfaceOptionsDialogs.h"

#include "dialogs/CustomInterfaceDialog.h"
#include "dialogs/ProgramDialog.h"
#include "dialogs/VariablePropertiesDialog.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/EditCtrl.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocVariable.h"
#include "model/RiskPrefAssessment.h"
#include "treewin/TreeWindow.h"

#include <memory>
#include <string>

namespace {

enum : unsigned {
    kRiskToggle = 3521, kConstantRisk = 3522, kOtherRisk = 3523, kMethodToggle = 3524, kAddMethod = 3525,
    kDeleteMethod = 3526, kMethods = 3527, kViewTree = 3528, kSaveTree = 3529, kMenuText = 3531, kCodes = 3532,
    kAnalyses = 3801, kReadyList = 3811, kAboutButton = 3812, kProperties = 3813, kReadyDescription = 3814,
    kReadyLow = 3815, kReadyHigh = 3816
};

// The names of the analyses of the Extended interface, in the bit order of its mask.
const char* const kAnalysisNames[] = {
    "One-way sensitivity analysis", "Two-way sensitivity analysis", "Three-way sensitivity analysis",
    "Tornado diagram", "Probability distribution", "Markov analysis", "Cost-effectiveness graph",
    "Threshold analysis", "Monte Carlo simulation", "Over/under", "Expected value", "EVPI", "Path probability",
    "Payoff range", "Standard deviation", "Rankings", "Show optimal path", "Roll back"};

std::string Formatted(double value)
{
    zString text;
    FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
    return text.Text();
}

// The name of a calculation-method code (1 to 7).
std::string CodeName(int code)
{
    static const char* const names[] = {"Cost/Eff", "Ben-Cost", "MultiAttr"};
    return code >= 5 && code <= 7 ? names[code - 5] : "Payoff " + std::to_string(code);
}

// New Calculation Method: its menu text and code; true after OK.
bool RunCalcMethodDialog(CalcMethodChoice& choice)
{
    ProgramDialog dialog(CustomInterfaceDialog::kCalcMethodTemplateId);
    EditCtrl::FromTemplate(&dialog, kMenuText, &choice.menuText);
    for (int code = 1; code <= 7; ++code)
        dialog.SendToItem(kCodes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CodeName(code).c_str()));
    dialog.SendToItem(kCodes, CB_SETCURSEL, 0);
    dialog.OnButton(IDOK, [&] {
        choice.code = static_cast<int16_t>(dialog.SendToItem(kCodes, CB_GETCURSEL) + 1);
        dialog.Accept();
    });
    return dialog.Run() == IDOK;
}

} // namespace

void RunBasicOptions(TreeWindow& tree, CustomInterfaceOptions& options)
{
    ProgramDialog dialog(CustomInterfaceDialog::kBasicOptionsTemplateId);
    const RiskPrefAssessment& risk = tree.Document().RiskAssessment;
    dialog.SetChecked(kRiskToggle, options.allowRiskToggle != 0);
    dialog.SetChecked(options.constantRiskAversion != 0 ? kConstantRisk : kOtherRisk, true);
    dialog.EnableItem(kConstantRisk, risk.constantAssessed != 0);
    dialog.EnableItem(kOtherRisk, risk.pointsAssessed != 0);
    dialog.EnableItem(kRiskToggle, risk.constantAssessed != 0 || risk.pointsAssessed != 0);
    dialog.SetChecked(kMethodToggle, options.allowCalcMethodChange != 0);
    dialog.SetChecked(kViewTree, options.allowViewTree != 0);
    dialog.SetChecked(kSaveTree, options.allowSaveTree != 0);
    const int tab = 80;
    dialog.SendToItem(kMethods, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
    const auto fill = [&](int selected) {
        dialog.SendToItem(kMethods, LB_RESETCONTENT);
        for (int i = 0; i < options.Count(); ++i) {
            const std::string line = std::string(options.At(i)->menuText.Text()) + "\t" + CodeName(options.At(i)->code);
            dialog.SendToItem(kMethods, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        dialog.SendToItem(kMethods, LB_SETCURSEL, static_cast<WPARAM>(selected));
        dialog.EnableItem(kDeleteMethod, selected >= 0);
    };
    fill(-1);
    dialog.OnNotification(kMethods, LBN_SELCHANGE, [&] {
        dialog.EnableItem(kDeleteMethod, dialog.SendToItem(kMethods, LB_GETCURSEL) >= 0);
    });
    dialog.OnButton(kRiskToggle, [&] {
        options.allowRiskToggle = dialog.IsChecked(kRiskToggle) ? 1 : 0;
        tree.Document().SetModified(1);
    });
    dialog.OnButton(kAddMethod, [&] {
        auto choice = std::make_unique<CalcMethodChoice>();
        if (!RunCalcMethodDialog(*choice))
            return;
        options.Add(choice.release());
        tree.Document().SetModified(1);
        fill(options.Count() - 1);
    });
    dialog.OnButton(kDeleteMethod, [&] {
        const int selected = static_cast<int>(dialog.SendToItem(kMethods, LB_GETCURSEL));
        if (selected < 0)
            return;
        options.DeleteAt(selected);
        tree.Document().SetModified(1);
        fill(selected - 1);
    });
    dialog.OnButton(IDOK, [&] {
        options.allowRiskToggle = dialog.IsChecked(kRiskToggle) ? 1 : 0;
        options.constantRiskAversion = dialog.IsChecked(kConstantRisk) ? 1 : 0;
        options.allowCalcMethodChange = dialog.IsChecked(kMethodToggle) ? 1 : 0;
        options.allowViewTree = dialog.IsChecked(kViewTree) ? 1 : 0;
        options.allowSaveTree = dialog.IsChecked(kSaveTree) ? 1 : 0;
        dialog.Accept();
    });
    dialog.Run();
}

void RunExtendedOptions(TreeWindow& tree, CustomInterfaceOptions& options)
{
    ProgramDialog dialog(CustomInterfaceDialog::kExtendedOptionsTemplateId);
    for (int bit = 0; bit < 18; ++bit) {
        dialog.SendToItem(kAnalyses, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAnalysisNames[bit]));
        dialog.SendToItem(kAnalyses, LB_SETSEL, (options.analysesOffered >> bit) & 1u, bit);
    }
    dialog.SetChecked(kSaveTree, options.allowSaveTree != 0);
    dialog.OnButton(IDOK, [&] {
        uint32_t mask = 0;
        for (int bit = 0; bit < 18; ++bit)
            if (dialog.SendToItem(kAnalyses, LB_GETSEL, static_cast<WPARAM>(bit)) > 0)
                mask |= 1u << bit;
        options.analysesOffered = mask;
        options.allowSaveTree = dialog.IsChecked(kSaveTree) ? 1 : 0;
        tree.Document().SetModified(1);
        dialog.Accept();
    });
    dialog.Run();
}

void RunExtendedParameters(TreeWindow& tree)
{
    ProgramDialog dialog(CustomInterfaceDialog::kExtendedParametersTemplateId);
    const DocVariableList& variables = tree.Document().Variables;
    const int tab = 110;
    dialog.SendToItem(kReadyList, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
    const auto show = [&] {
        const int selected = static_cast<int>(dialog.SendToItem(kReadyList, LB_GETCURSEL));
        const DocVariable* variable = selected >= 0 ? variables.At(selected) : nullptr;
        const bool ranged = variable != nullptr && variable->hasRange != 0;
        dialog.SetItemText(kReadyDescription, variable != nullptr ? variable->shortDescription.Text() : "");
        dialog.SetItemText(kReadyLow, ranged ? Formatted(variable->low.value).c_str() : "");
        dialog.SetItemText(kReadyHigh, ranged ? Formatted(variable->high.value).c_str() : "");
    };
    const auto fill = [&](int selected) {
        dialog.SendToItem(kReadyList, LB_RESETCONTENT);
        for (int i = 0; i < variables.Count(); ++i) {
            const DocVariable& v = *variables.At(i);
            const bool ready = v.hasRange != 0 && v.tFlag == 0 && v.flag3 != 0 && !v.shortDescription.IsEmpty();
            const std::string line = std::string(v.name.Text()) + (ready ? "\t+" : "");
            dialog.SendToItem(kReadyList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        dialog.SendToItem(kReadyList, LB_SETCURSEL, static_cast<WPARAM>(selected));
        show();
    };
    fill(variables.Count() > 0 ? 0 : -1);
    const auto properties = [&] {
        const int selected = static_cast<int>(dialog.SendToItem(kReadyList, LB_GETCURSEL));
        if (selected < 0)
            return;
        VariablePropertiesDialog edit(tree, *variables.At(selected));
        edit.RunModal();
        if (!edit.AppliedName().IsEmpty())
            fill(selected);
        SetFocus(dialog.Control(kReadyList));
    };
    dialog.OnNotification(kReadyList, LBN_SELCHANGE, show);
    dialog.OnNotification(kReadyList, LBN_DBLCLK, properties);
    dialog.OnButton(kProperties, properties);
    dialog.OnButton(kAboutButton, [] { ProgramDialog(CustomInterfaceDialog::kAboutTemplateId).Run(); });
    dialog.Run();
}
