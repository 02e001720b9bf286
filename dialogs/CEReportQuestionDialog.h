#pragma once
// Text Report (template 2220): before a cost-effectiveness sensitivity report is written, asks whether
// extended-dominated strategies are eliminated ("&Yes" check box, OK only).

#include "widgets/AppDialog.h"

class CEReportQuestionDialog : public AppDialog {
public:

    // The check box starts from *eliminate; after OK *answered is 1 and *eliminate the check box.
    CEReportQuestionDialog(int* eliminate, int* answered);

private:
    int OkResult() override;
    int* eliminate;
    int* answered;
};

// Asks every cost-effectiveness sensitivity report in this dialog.
void InstallCEReportQuestionDialog();
