#include "treewin/CustomInterfaceOptionsDialogs.h"

#include "treewin/CustomInterfaceDialog.h"
#include "widgets/ProgramDialog.h"
#include "treewin/VariablePropertiesDialog.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/EditCtrl.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocVariable.h"
#include "model/RiskPrefAssessment.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <memory>
#include <string>
#include <utility>

namespace BasicCustomInterfaceOptionsIds = Ctl::BasicCustomInterfaceOptions;
namespace ExtendedCustomInterfaceOptionsIds = Ctl::ExtendedCustomInterfaceOptions;
namespace ExtendedCustomInterfaceParametersIds = Ctl::ExtendedCustomInterfaceParameters;
namespace NewCalculationMethodIds = Ctl::NewCalculationMethod;

namespace {

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
    ProgramDialog dialog(DialogRes::NewCalculationMethod);
    EditCtrl::FromTemplate(&dialog, NewCalculationMethodIds::MenuTextEdit, &choice.menuText);
    for (int code = 1; code <= 7; ++code)
        dialog.SendToItem(NewCalculationMethodIds::CalcMethodCombo, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(CodeName(code).c_str()));
    dialog.SendToItem(NewCalculationMethodIds::CalcMethodCombo, CB_SETCURSEL, 0);
    dialog.OnButton(IDOK, [&] {
        choice.code =
            static_cast<int16_t>(dialog.SendToItem(NewCalculationMethodIds::CalcMethodCombo, CB_GETCURSEL) + 1);
        dialog.Accept();
    });
    return dialog.Run() == IDOK;
}

}  // namespace

void RunBasicOptions(TreeWindow& tree, CustomInterfaceOptions& options)
{
    ProgramDialog dialog(DialogRes::BasicCustomInterfaceOptions);
    const RiskPrefAssessment& risk = tree.Document().RiskAssessment;
    dialog.SetChecked(BasicCustomInterfaceOptionsIds::AllowUserToTurnRiskFunctionOnOff, options.allowRiskToggle != 0);
    dialog.SetChecked(options.constantRiskAversion != 0 ? BasicCustomInterfaceOptionsIds::ConstantRiskAversion
                                                        : BasicCustomInterfaceOptionsIds::NonConstantRiskAversion,
                      true);
    dialog.EnableItem(BasicCustomInterfaceOptionsIds::ConstantRiskAversion, risk.constantAssessed != 0);
    dialog.EnableItem(BasicCustomInterfaceOptionsIds::NonConstantRiskAversion, risk.pointsAssessed != 0);
    dialog.EnableItem(BasicCustomInterfaceOptionsIds::AllowUserToTurnRiskFunctionOnOff,
                      risk.constantAssessed != 0 || risk.pointsAssessed != 0);
    dialog.SetChecked(BasicCustomInterfaceOptionsIds::AllowUserToChangeActiveCalcMethod,
                      options.allowCalcMethodChange != 0);
    dialog.SetChecked(BasicCustomInterfaceOptionsIds::AllowUserToViewTree, options.allowViewTree != 0);
    dialog.SetChecked(BasicCustomInterfaceOptionsIds::AllowUserToSaveTree, options.allowSaveTree != 0);
    const int tab = 80;
    dialog.SendToItem(BasicCustomInterfaceOptionsIds::MethodList, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
    const auto fill = [&](int selected) {
        dialog.SendToItem(BasicCustomInterfaceOptionsIds::MethodList, LB_RESETCONTENT);
        for (int i = 0; i < options.Count(); ++i) {
            const std::string line = std::string(options.At(i)->menuText.Text()) + "\t" + CodeName(options.At(i)->code);
            dialog.SendToItem(BasicCustomInterfaceOptionsIds::MethodList, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(line.c_str()));
        }
        dialog.SendToItem(BasicCustomInterfaceOptionsIds::MethodList, LB_SETCURSEL, static_cast<WPARAM>(selected));
        dialog.EnableItem(BasicCustomInterfaceOptionsIds::Delete, selected >= 0);
    };
    fill(-1);
    dialog.OnNotification(BasicCustomInterfaceOptionsIds::MethodList, LBN_SELCHANGE, [&] {
        dialog.EnableItem(BasicCustomInterfaceOptionsIds::Delete,
                          dialog.SendToItem(BasicCustomInterfaceOptionsIds::MethodList, LB_GETCURSEL) >= 0);
    });
    dialog.OnButton(BasicCustomInterfaceOptionsIds::AllowUserToTurnRiskFunctionOnOff, [&] {
        options.allowRiskToggle =
            dialog.IsChecked(BasicCustomInterfaceOptionsIds::AllowUserToTurnRiskFunctionOnOff) ? 1 : 0;
        tree.SetModified(1);
    });
    dialog.OnButton(BasicCustomInterfaceOptionsIds::Add, [&] {
        auto choice = std::make_unique<CalcMethodChoice>();
        if (!RunCalcMethodDialog(*choice))
            return;
        options.Add(choice.release());
        tree.SetModified(1);
        fill(options.Count() - 1);
    });
    dialog.OnButton(BasicCustomInterfaceOptionsIds::Delete, [&] {
        const int selected =
            static_cast<int>(dialog.SendToItem(BasicCustomInterfaceOptionsIds::MethodList, LB_GETCURSEL));
        if (selected < 0)
            return;
        options.DeleteAt(selected);
        tree.SetModified(1);
        fill(selected - 1);
    });
    dialog.OnButton(IDOK, [&] {
        // Each check and its option; an option changed is a change of the tree, which closing asks to save.
        const std::pair<unsigned, int16_t CustomInterfaceOptions::*> checks[] = {
            {BasicCustomInterfaceOptionsIds::AllowUserToTurnRiskFunctionOnOff,
             &CustomInterfaceOptions::allowRiskToggle},
            {BasicCustomInterfaceOptionsIds::ConstantRiskAversion, &CustomInterfaceOptions::constantRiskAversion},
            {BasicCustomInterfaceOptionsIds::AllowUserToChangeActiveCalcMethod,
             &CustomInterfaceOptions::allowCalcMethodChange},
            {BasicCustomInterfaceOptionsIds::AllowUserToViewTree, &CustomInterfaceOptions::allowViewTree},
            {BasicCustomInterfaceOptionsIds::AllowUserToSaveTree, &CustomInterfaceOptions::allowSaveTree},
        };
        bool changed = false;
        for (const auto& [id, option] : checks) {
            const int16_t checked = dialog.IsChecked(id) ? 1 : 0;
            changed = changed || options.*option != checked;
            options.*option = checked;
        }
        if (changed)
            tree.SetModified(1);
        dialog.Accept();
    });
    dialog.Run();
}

void RunExtendedOptions(TreeWindow& tree, CustomInterfaceOptions& options)
{
    ProgramDialog dialog(DialogRes::ExtendedCustomInterfaceOptions);
    for (int bit = 0; bit < 18; ++bit) {
        dialog.SendToItem(
            ExtendedCustomInterfaceOptionsIds::HiliteTheAnalysesWhichTheUserWillBeAbleToPerformManuallyList,
            LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAnalysisNames[bit]));
        dialog.SendToItem(
            ExtendedCustomInterfaceOptionsIds::HiliteTheAnalysesWhichTheUserWillBeAbleToPerformManuallyList, LB_SETSEL,
            (options.analysesOffered >> bit) & 1u, bit);
    }
    dialog.SetChecked(BasicCustomInterfaceOptionsIds::AllowUserToSaveTree, options.allowSaveTree != 0);
    dialog.OnButton(IDOK, [&] {
        uint32_t mask = 0;
        for (int bit = 0; bit < 18; ++bit)
            if (dialog.SendToItem(
                    ExtendedCustomInterfaceOptionsIds::HiliteTheAnalysesWhichTheUserWillBeAbleToPerformManuallyList,
                    LB_GETSEL, static_cast<WPARAM>(bit)) > 0)
                mask |= 1u << bit;
        options.analysesOffered = mask;
        options.allowSaveTree = dialog.IsChecked(BasicCustomInterfaceOptionsIds::AllowUserToSaveTree) ? 1 : 0;
        tree.SetModified(1);
        dialog.Accept();
    });
    dialog.Run();
}

void RunExtendedParameters(TreeWindow& tree)
{
    ProgramDialog dialog(DialogRes::ExtendedCustomInterfaceParameters);
    const DocVariableList& variables = tree.Document().Variables;
    const int tab = 110;  // not a resource id: a tab stop
    dialog.SendToItem(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LB_SETTABSTOPS, 1,
                      reinterpret_cast<LPARAM>(&tab));
    const auto show = [&] {
        const int selected =
            static_cast<int>(dialog.SendToItem(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LB_GETCURSEL));
        const DocVariable* variable = selected >= 0 ? variables.At(selected) : nullptr;
        const bool ranged = variable != nullptr && variable->hasRange != 0;
        dialog.SetItemText(ExtendedCustomInterfaceParametersIds::ReadyForECIText,
                           variable != nullptr ? variable->shortDescription.Text() : "");
        dialog.SetItemText(ExtendedCustomInterfaceParametersIds::LowText,
                           ranged ? Formatted(variable->low.value).c_str() : "");
        dialog.SetItemText(ExtendedCustomInterfaceParametersIds::HighText,
                           ranged ? Formatted(variable->high.value).c_str() : "");
    };
    const auto fill = [&](int selected) {
        dialog.SendToItem(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LB_RESETCONTENT);
        for (int i = 0; i < variables.Count(); ++i) {
            const DocVariable& v = *variables.At(i);
            const bool ready = v.hasRange != 0 && v.tFlag == 0 && v.flag3 != 0 && !v.shortDescription.IsEmpty();
            const std::string line = std::string(v.name.Text()) + (ready ? "\t+" : "");
            dialog.SendToItem(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(line.c_str()));
        }
        dialog.SendToItem(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LB_SETCURSEL,
                          static_cast<WPARAM>(selected));
        show();
    };
    fill(variables.Count() > 0 ? 0 : -1);
    const auto properties = [&] {
        const int selected =
            static_cast<int>(dialog.SendToItem(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LB_GETCURSEL));
        if (selected < 0)
            return;
        VariablePropertiesDialog edit(tree, *variables.At(selected));
        edit.RunModal();
        if (!edit.AppliedName().IsEmpty())
            fill(selected);
        SetFocus(dialog.Control(ExtendedCustomInterfaceParametersIds::ReadyForECIList));
    };
    dialog.OnNotification(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LBN_SELCHANGE, show);
    dialog.OnNotification(ExtendedCustomInterfaceParametersIds::ReadyForECIList, LBN_DBLCLK, properties);
    dialog.OnButton(ExtendedCustomInterfaceParametersIds::Properties, properties);
    dialog.OnButton(ExtendedCustomInterfaceParametersIds::Help,
                    [] { ProgramDialog(DialogRes::AboutTheExtendedCustomInterface).Run(); });
    dialog.Run();
}
