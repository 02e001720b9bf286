#include "dialogs/CEAnalysisDialog.h"

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
