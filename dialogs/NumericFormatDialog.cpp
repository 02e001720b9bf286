#include "dialogs/NumericFormatDialog.h"

int RunNumericFormatDialog(NumericFormat& format, int method, int payoff)
{
    return NumericFormatDialog(format, method, payoff).Run();
}

int RunNumericFormatPrefsDialog(NumericFormat& ratio, NumericFormat& cost, NumericFormat& effectiveness, int costPayoff,
                                int effectivenessPayoff)
{
    return NumericFormatChoiceDialog(ratio, cost, effectiveness, costPayoff, effectivenessPayoff).Run();
}
