#pragma once
// Create Slider (dialog 2140): the variable ("&Variable:"), the number of intervals (3 to 100) and the low
// and high values of a slider over the chosen nodes.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

class DocVariableList;

class CreateSliderDialog : public PresentedDialog<CreateSliderDialog> {
public:
    enum : unsigned { kTemplateId = 2140, kVariableBox = 2141, kLowField = 2142, kHighField = 2143,
                      kIntervalsField = 2144 };

    // The variables offered in "&Variable:", none without a list.
    explicit CreateSliderDialog(const DocVariableList* variables = nullptr) : variables(variables) {}
    // 1 on OK with a variable and 3 to 100 intervals; on the screen without a presenter.
    int Run();

    const DocVariableList* variables;

    zString variable;
    int intervals = 10;
    double low = 0.0;
    double high = 1.0;
};
