#pragma once
// The pop-up menu that the calling thread shows, found among the thread's own windows: a search of the whole
// display could find, and steer, a menu of another test process.

#include <windows.h>

namespace thread_popup_menu {

inline BOOL CALLBACK TakeVisibleMenu(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32768") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace thread_popup_menu

// The visible pop-up menu window of the calling thread; 0 when it shows none.
inline HWND ThreadPopupMenu()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), thread_popup_menu::TakeVisibleMenu, reinterpret_cast<LPARAM>(&found));
    return found;
}
