#include "dialogs/CEReportQuestionDialog.h"

#include "analysis/SensitivityResultGrid.h"

#include <windows.h>

CEReportQuestionDialog::CEReportQuestionDialog(int* eliminate, int* answered)
    : AppDialog(kTemplateId), eliminate(eliminate), answered(answered)
{
    CheckItem(kYesCheck, *eliminate != 0);
}

int CEReportQuestionDialog::OkResult()
{
    *eliminate = IsItemChecked(kYesCheck) ? 1 : 0;
    *answered = 1;
    return 1;
}

void InstallCEReportQuestionDialog()
{
    SetExtendedDominanceQuestion([](int initial) {
        int eliminate = initial;
        int answered = 0;
        CEReportQuestionDialog(&eliminate, &answered).RunModal();
        return answered != 0 ? eliminate : initial;
    });
}
