#include "dialogs/CEReportQuestionDialog.h"

#include "analysis/SensitivityResultGrid.h"

#include "CommandIds.h"

#include <windows.h>

CEReportQuestionDialog::CEReportQuestionDialog(int* eliminate, int* answered)
    : AppDialog(DialogRes::TextReport2220), eliminate(eliminate), answered(answered)
{
    CheckItem(Ctl::TextReport2220::Yes, *eliminate != 0);
}

int CEReportQuestionDialog::OkResult()
{
    *eliminate = IsItemChecked(Ctl::TextReport2220::Yes) ? 1 : 0;
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
