#include "dialogs/DocumentPopups.h"

#include "framework/window/WindowCL.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<WindowCL*, const TreeDocument*>>& Popups()
{
    static std::vector<std::pair<WindowCL*, const TreeDocument*>> popups;
    return popups;
}

}  // namespace

void AddDocumentPopup(WindowCL* window, const TreeDocument* document)
{
    Popups().emplace_back(window, document);
}

void RemoveDocumentPopup(WindowCL* window)
{
    auto& popups = Popups();
    popups.erase(std::remove_if(popups.begin(), popups.end(), [window](const auto& entry) { return entry.first == window; }),
                 popups.end());
}

void CloseDocumentPopups(const TreeDocument* document)
{
    // Each closing window leaves the list, so the walk works on a copy.
    const auto popups = Popups();
    for (const auto& entry : popups)
        if (entry.second == document)
            DestroyWindow(entry.first->Handle());
}
