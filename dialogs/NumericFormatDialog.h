#pragma once
// Numeric Formatting Preferences (template 2313): one number format, edited in place, labelled by the
// calculation method it serves ("For Payoff 2", "For Cost-Effectiveness", ...). The chooser Numeric
// Formatting (template 3460) picks which of the cost-effectiveness formats to edit that way.

#include "widgets/PresentedDialog.h"

class NumericFormat;

class NumericFormatDialog : public PresentedDialog<NumericFormatDialog> {
public:

    // The method (-1 none) and the payoff index (-1 none) the label names.
    NumericFormatDialog(NumericFormat& format, int method, int payoff) : format(format), method(method), payoff(payoff)
    {
    }
    // Nonzero after OK; on the screen without a presenter.
    int Run();

    NumericFormat& format;
    int method;
    int payoff;
};

int RunNumericFormatDialog(NumericFormat& format, int method, int payoff);

class NumericFormatChoiceDialog : public PresentedDialog<NumericFormatChoiceDialog> {
public:

    NumericFormatChoiceDialog(NumericFormat& ratio, NumericFormat& cost, NumericFormat& effectiveness, int costPayoff,
                              int effectivenessPayoff)
        : ratio(ratio), cost(cost), effectiveness(effectiveness), costPayoff(costPayoff),
          effectivenessPayoff(effectivenessPayoff)
    {
    }
    // 1 when a format was changed with OK in the format dialog its buttons open, else 0.
    int Run();

    NumericFormat& ratio;
    NumericFormat& cost;
    NumericFormat& effectiveness;
    int costPayoff;
    int effectivenessPayoff;
    bool changed = false;
};

// The chooser over the cost-effectiveness ratio format and the formats of the cost and effectiveness
// payoffs.
int RunNumericFormatPrefsDialog(NumericFormat& ratio, NumericFormat& cost, NumericFormat& effectiveness, int costPayoff,
                                int effectivenessPayoff);
