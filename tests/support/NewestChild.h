#pragma once
// The frame's most recently opened child window of a kind, for tests that follow a command to the window it
// opened.

#include "app/MainFrame.h"

#include <vector>

template <class Window>
Window* NewestChild(MainFrame& frame)
{
    std::vector<WindowCL*> windows;
    frame.CollectWindows(windows);
    for (auto at = windows.rbegin(); at != windows.rend(); ++at)
        if (auto* window = dynamic_cast<Window*>(*at))
            return window;
    return nullptr;
}
