#pragma once
// Controls that live in a dialog's panes are no direct children of the dialog: found by id at any depth.

#include <windows.h>

inline HWND FindDescendant(HWND parent, unsigned id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (static_cast<unsigned>(GetDlgCtrlID(child)) == id)
            return child;
        if (HWND inner = FindDescendant(child, id))
            return inner;
    }
    return nullptr;
}
