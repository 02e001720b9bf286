#pragma once
// Show/Hide (dialog 3500): which of a graph's lines are drawn. One entry per line, in the graph's order; the
// lines drawn start selected. Its uses: lines that name themselves, lines named by a parallel list (the
// legend), and the latter with a most that may be drawn at once.

#include "widgets/ProgramDialog.h"

#include "CommandIds.h"

#include <string>
#include <vector>

class ShowHideLinesDialog : public ProgramDialog {
public:
    static constexpr int kNoLimit = 32000;

    // Entry i reads names[i]; the entries whose index is in `shown` start selected. A negative maximum
    // means no limit. After OK `shown` holds the chosen indexes in ascending order.
    ShowHideLinesDialog(const std::vector<std::string>& names, std::vector<int>& shown, int maximum = -1);

    // 1 after OK.
    int Run();

private:
    // More chosen than the maximum: "You may only show <maximum> lines at one time.", and it stays open.
    int OkPreCheck() override;
    int OkResult() override;
    std::vector<int> Chosen() const;

    std::vector<int>& shown_;
    int maximum_;
};

// Show/Hide over a graph's items: `shown` (a subset of `items`, in their order) is refilled with the chosen
// ones. Entry i reads names[i]. True after OK.
template <class Item>
bool ShowHideItems(const std::vector<std::string>& names, const std::vector<Item*>& items, std::vector<Item*>& shown,
                   int maximum = -1)
{
    std::vector<int> indexes;
    for (std::size_t i = 0; i < items.size(); ++i)
        for (Item* item : shown)
            if (item == items[i])
                indexes.push_back(static_cast<int>(i));
    ShowHideLinesDialog dialog(names, indexes, maximum);
    if (!dialog.Run())
        return false;
    shown.clear();
    for (int index : indexes)
        shown.push_back(items[index]);
    return true;
}
