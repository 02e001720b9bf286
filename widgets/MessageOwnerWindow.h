#pragma once
// The window that owns message boxes: the innermost open application dialog, else the active document
// window, else the main frame; null while none of them exists.

#include <windows.h>

HWND MessageOwnerWindow();
