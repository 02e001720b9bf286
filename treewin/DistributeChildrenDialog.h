#pragma once
// Distribute Children: the first dialog (2580) asks how many new branches (at least 3) and which document
// variable takes each branch's value; the second (2560) cuts the chosen distribution's range into that many
// ranges, by equal ranges or equal probabilities, and hands back each range's probability and value.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <vector>

class Distribution;
class DocVariableList;

class DistributeChildrenDialog : public PresentedDialog<DistributeChildrenDialog> {
public:

    explicit DistributeChildrenDialog(const DocVariableList& variables) : variables(variables) {}
    // 1 on OK with at least three branches; on the screen without a presenter.
    int Run();

    const DocVariableList& variables;
    int count = 4;
    int variableIndex = 0;
};

class DistributeChildrenRangesDialog : public PresentedDialog<DistributeChildrenRangesDialog> {
public:

    DistributeChildrenRangesDialog(Distribution& distribution, int count);
    // 1 on OK; 0 at once when the distribution's range cannot be computed.
    int Run();
    // Cuts the range into equal widths, or into equal probabilities; each gives the probabilities too.
    void EqualRanges();
    void EqualProbabilities();
    // The probability of each range from the boundaries.
    void ComputeProbabilities();
    // The middle of range i; for a discrete distribution the middle of the integers it holds.
    double RangeValue(int i) const;

    Distribution& distribution;
    double low = 0.0;
    double high = 0.0;
    bool discrete;
    // Set when a boundary was dragged: OK then computes the probabilities again.
    bool dirty = false;
    // n probabilities and the n + 1 boundaries, the first the low end and the last the high end.
    std::vector<double> probabilities;
    std::vector<double> boundaries;
};
