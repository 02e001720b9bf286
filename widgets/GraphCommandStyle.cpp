#include "widgets/GraphCommandStyle.h"

void StyleForCommand(int command, int& marginal, int& measure)
{
    marginal = 0;
    if (command < 1582 || command > 1587)
        return;
    marginal = (command - 1582) % 2;
    measure = (command - 1582) / 2 + 1;
}

void ScalePoints(bool keep, double& low, double& high, const double* values, int count)
{
    for (int i = 0; i < count; ++i) {
        if (i == 0 && !keep) {
            low = high = values[0];
            continue;
        }
        if (values[i] < low)
            low = values[i];
        if (values[i] > high)
            high = values[i];
    }
}
