#pragma once
// Create Slider (dialog 2140): the variable ("&Variable:"), the number of intervals (3 to 100) and the low
// and high values of a slider over the chosen nodes.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

class CreateSliderDialog : public PresentedDialog<CreateSliderDialog> {
public:
    enum : unsigned { kTemplateId = 2140 };

    // 1 on OK with a variable and 3 to 100 intervals.
    int Run() { return Present() == IDOK && !variable.IsEmpty() && intervals >= 3 && intervals <= 100 ? 1 : 0; }

    zString variable;
    int intervals = 10;
    double low = 0.0;
    double high = 1.0;
};
