#include "treewin/InterfaceOptionsDialog.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "model/CustomInterfaceSettings.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

namespace Ids = Ctl::SetOptions;

namespace {

// A choice's code: 1-4 payoff 1-4, 5 cost-effectiveness, 6 benefit-cost, 7 multi-attribute.
int MethodCode(const TreeCalcPrefs& prefs)
{
    switch (prefs.CalcMethod) {
    case CostEffectivenessMethod: return 5;
    case BenefitCostMethod: return 6;
    case MultiAttributeMethod: return 7;
    default: return prefs.CurrentPayoff + 1;
    }
}

int ShowOnScreen(InterfaceOptionsDialog& options)
{
    ProgramDialog dialog(DialogRes::SetOptions);
    if (dialog.Handle() == nullptr)
        return IDCANCEL;
    CheckBoxCtrl::FromTemplate(&dialog, Ids::UseUtilityFunction, &options.useUtility);
    if (options.options.allowRiskToggle == 0)
        dialog.ShowItem(Ids::UseUtilityFunction, false);
    DropListCtrl* methods = DropListCtrl::FromTemplateIndex(&dialog, Ids::CalculationMethodCombo, &options.choice,
                                                            CtrlWindowCL::MayBeEmpty);
    for (int i = 0; i < options.options.Count(); ++i)
        methods->AddString(options.options.At(i)->menuText);
    methods->Load();
    if (options.options.allowCalcMethodChange == 0) {
        dialog.ShowItem(Ids::CalculationMethodText, false);
        dialog.ShowItem(Ids::CalculationMethodCombo, false);
    }
    return dialog.Run();
}

} // namespace

InterfaceOptionsDialog::InterfaceOptionsDialog(TreeDocument& tree, const CustomInterfaceOptions& options)
    : options(options), useUtility(tree.CalcPrefs.UseUtility != 0 ? 1 : 0), tree_(tree)
{
    const int code = MethodCode(tree.CalcPrefs);
    for (int i = 0; i < options.Count() && choice < 0; ++i)
        if (options.At(i)->code == code)
            choice = i;
}

bool InterfaceOptionsDialog::Run()
{
    if ((HasPresenter() ? Present() : ShowOnScreen(*this)) != IDOK)
        return false;
    Apply();
    return true;
}

void InterfaceOptionsDialog::Apply()
{
    TreeCalcPrefs& prefs = tree_.CalcPrefs;
    if (options.allowRiskToggle != 0) {
        // The box switches the function; a checked box also picks the kind the designer chose.
        prefs.UseUtility = useUtility != 0 ? 1 : 0;
        if (useUtility != 0)
            tree_.RiskAssessment.type = options.constantRiskAversion != 0 ? 1 : 2;
    }
    if (options.allowCalcMethodChange != 0 && choice >= 0 && choice < options.Count()) {
        const int code = options.At(choice)->code;
        if (code >= 5 && code <= 7) {
            prefs.CalcMethod = code == 5 ? CostEffectivenessMethod : code == 6 ? BenefitCostMethod : MultiAttributeMethod;
        } else {
            prefs.CalcMethod = PayoffMethod;
            if (code >= 1 && code <= 4)
                prefs.CurrentPayoff = static_cast<int8_t>(code - 1);
        }
    }
    tree_.SetModified(1);
}
