#include "dialogs/CEReportQuestionDialog.h"

#include "analysis/SensitivityResultGrid.h"

#include <windows.h>

CEReportQuestionDialog::CEReportQuestionDialog(int* eliminate, int* answered)
    : AppDialog(kTemplateId), eliminate(eliminate), answered(answered)
{
    if (WindowCL* yes = FindChild(kYesCheck))
        SendMessageA(yes->Handle(), BM_SETCHECK, *eliminate ? BST_CHECKED : BST_UNCHECKED, 0);
    RunModal();
}

int CEReportQuestionDialog::OkResult()
{
    WindowCL* yes = FindChild(kYesCheck);
    *eliminate = yes != nullptr && SendMessageA(yes->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    *answered = 1;
    return 1;
}

void InstallCEReportQuestionDialog()
{
    SetExtendedDominanceQuestion([](int initial) {
        int eliminate = initial;
        int answered = 0;
        CEReportQuestionDialog dialog(&eliminate, &answered);
        return answered != 0 ? eliminate : initial;
    });
}
