#pragma once
// The Distribution Picker: the person chooses a distribution type and its parameters.

#include "widgets/PresentedDialog.h"

class Distribution;
class TreeWindow;

class DistributionPicker : public PresentedDialog<DistributionPicker> {
public:
    DistributionPicker(TreeWindow* window, Distribution* current, bool allowTable)
        : window(window), current(current), allowTable(allowTable) {}

    TreeWindow* window;
    Distribution* current;
    bool allowTable;
    // The distribution the presenter hands over on OK (owned by the caller).
    Distribution* chosen = nullptr;

    friend Distribution* RunDistributionPicker(TreeWindow* window, Distribution* current, bool allowTable);
};

// A new distribution the caller is to keep, or null when none was picked; the current one (may be null) is
// only read.
[[nodiscard]] Distribution* RunDistributionPicker(TreeWindow* window, Distribution* current, bool allowTable);
