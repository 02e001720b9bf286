#include "treewin/CEAnalysisDialog.h"

#include "widgets/ProgramDialog.h"

#include "CommandIds.h"

namespace Ids = Ctl::CostEffectivenessAnalysis;

int CEAnalysisDialog::Run()
{
    if (HasPresenter())
        return Present();
    int checked = effectivenessOnX != 0 ? Ids::EffectivenessOnXAxis : Ids::CostOnXAxis;
    const int answer = ProgramDialog::RunRadioChoice(DialogRes::CostEffectivenessAnalysis, Ids::CostOnXAxis,
                                                     Ids::EffectivenessOnXAxis, checked);
    effectivenessOnX = checked == Ids::EffectivenessOnXAxis ? 1 : 0;
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
