#pragma once
// Cost-Effectiveness Analysis (dialog 4380): which quantity the cost-effectiveness graph puts on its
// horizontal axis. The last confirmed choice is offered the next time; at first effectiveness.

#include "widgets/PresentedDialog.h"

class CEAnalysisDialog : public PresentedDialog<CEAnalysisDialog> {
public:
    // 1 effectiveness on the horizontal axis, 0 cost.
    int effectivenessOnX = 1;

private:
    friend int RunCEAnalysisDialog();
    int Run();
};

// 0 (cost on the horizontal axis) or 1 (effectiveness), remembered; -1 on Cancel, the choice unchanged.
int RunCEAnalysisDialog();
