#pragma once
// Distribute Children: the first dialog (2580) asks how many new branches (at least 3) and which document
// variable takes each branch's value; the second (2560) cuts the chosen distribution's range into that many
// ranges and hands back each range's probability and value.

#include "dialogs/PresentedDialog.h"

#include <vector>

class Distribution;

class DistributeChildrenDialog : public PresentedDialog<DistributeChildrenDialog> {
public:
    enum : unsigned { kTemplateId = 2580 };

    // 1 on OK with at least three branches.
    int Run() { return Present() == IDOK && count >= 3 ? 1 : 0; }

    int count = 4;
    int variableIndex = 0;
};

class DistributeChildrenRangesDialog : public PresentedDialog<DistributeChildrenRangesDialog> {
public:
    enum : unsigned { kTemplateId = 2560 };

    DistributeChildrenRangesDialog(Distribution& distribution, int count)
        : distribution(distribution), probabilities(count, 0.0), values(count, 0.0) {}
    // 1 on OK.
    int Run() { return Present() == IDOK ? 1 : 0; }
    double RangeValue(int i) const { return values[i]; }

    Distribution& distribution;
    std::vector<double> probabilities;
    std::vector<double> values;
};
