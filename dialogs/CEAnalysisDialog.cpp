#include "CommandIds.h"
#include "dialogs/CEAnalysisDialog.h"

#include "dialogs/ProgramDialog.h"

int CEAnalysisDialog::Run()
{
    if (HasPresenter())
        return Present();
    int checked = effectivenessOnX != 0 ? Ctl::CostEffectivenessAnalysis::EffectivenessOnXAxis : Ctl::CostEffectivenessAnalysis::CostOnXAxis;
    const int answer = ProgramDialog::RunRadioChoice(DialogRes::CostEffectivenessAnalysis, Ctl::CostEffectivenessAnalysis::CostOnXAxis, Ctl::CostEffectivenessAnalysis::EffectivenessOnXAxis, checked);
    effectivenessOnX = checked == Ctl::CostEffectivenessAnalysis::EffectivenessOnXAxis ? 1 : 0;
    return answer;
}

int RunCEAnalysisDialog()
{
    static int effectivenessOnX = 1;
    CEAnalysisDialog dialog;
    dialog.effectivenessOnX = effectivenessOnX;
    if (dialog.Run() != IDOK)
        return -1;
    effectivenessOnX = dialog.effectivenessOnX != 0 ? 1 : 0;
    return effectivenessOnX;
}
