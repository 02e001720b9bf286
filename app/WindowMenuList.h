#pragma once
// The Window menu's list of windows, which the system's MDI client writes: it lists the first nine windows
// in the order they were made, then "More Windows...". As the system's own programs do, the active window is
// always listed and checked, and More Windows... opens on it.

#include "framework/window/MDIframeCL.h"

#include <windows.h>

// The id of "More Windows..." when the list's first window has the id.
constexpr unsigned MoreWindowsId(unsigned firstId)
{
    return firstId + MDIframeCL::ListedWindows;
}

// The active window's entry is the one checked. When the client left the active window out of the list, it
// takes the ninth place, checked: it takes the ninth window's entry and child id, and that window an id of
// its own, so that a pick of an entry reaches the window it names.
void ListActiveWindow(HMENU windowMenu, HWND client, unsigned firstId);

// While it lives, the system's More Windows dialog of this thread opens with the client's active window
// picked in its list.
class ActiveWindowPicked {
public:
    explicit ActiveWindowPicked(HWND client);
    ~ActiveWindowPicked();
    ActiveWindowPicked(const ActiveWindowPicked&) = delete;
    ActiveWindowPicked& operator=(const ActiveWindowPicked&) = delete;

private:
    static LRESULT CALLBACK PickOnInit(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_;
    HWND previousClient_;
};
