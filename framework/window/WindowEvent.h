#pragma once
// One window message as every window operation and handler receives it.

#include <windows.h>

struct WindowEvent {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND window;
};
