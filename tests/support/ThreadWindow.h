#pragma once
// Windows that the calling thread shows, found among the thread's own windows: a search of the whole display
// could find, and steer, a window of another test process.

#include <windows.h>

#include <cstring>

namespace thread_window {

struct Wanted {
    const char* className;
    const char* title;
    HWND found;
};

inline BOOL CALLBACK TakeVisibleMatch(HWND window, LPARAM wanted)
{
    auto* want = reinterpret_cast<Wanted*>(wanted);
    char text[256] = {};
    if (!IsWindowVisible(window))
        return TRUE;
    if (want->className && (!GetClassNameA(window, text, sizeof text) || std::strcmp(text, want->className) != 0))
        return TRUE;
    if (want->title && (GetWindowTextA(window, text, sizeof text), std::strcmp(text, want->title) != 0))
        return TRUE;
    want->found = window;
    return FALSE;
}

} // namespace thread_window

// The first visible top-level window of the calling thread of the class (any, when null) and the title (any,
// when null); 0 when it shows none.
inline HWND ThreadWindow(const char* className, const char* title = nullptr)
{
    thread_window::Wanted wanted{className, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), thread_window::TakeVisibleMatch, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

// The visible pop-up menu window of the calling thread; 0 when it shows none.
inline HWND ThreadPopupMenu()
{
    return ThreadWindow("#32768");
}
