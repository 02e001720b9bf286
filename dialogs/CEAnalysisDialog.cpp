#include "dialogs/CEAnalysisDialog.h"

#include "dialogs/ProgramDialog.h"

int CEAnalysisDialog::Run()
{
    if (HasPresenter())
        return Present();
    int checked = effectivenessOnX != 0 ? kEffectivenessButton : kCostButton;
    const int answer = ProgramDialog::RunRadioChoice(kTemplateId, kCostButton, kEffectivenessButton, checked);
    effectivenessOnX = checked == kEffectivenessButton ? 1 : 0;
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
