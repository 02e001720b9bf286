#include "dialogs/DistributionPicker.h"

#include "formula/Distribution.h"

Distribution* RunDistributionPicker(TreeWindow* window, Distribution* current, bool allowTable)
{
    DistributionPicker picker(window, current, allowTable);
    if (picker.Present() != IDOK) {
        delete picker.chosen;
        return nullptr;
    }
    return picker.chosen;
}
