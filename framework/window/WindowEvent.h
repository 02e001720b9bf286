#pragma once
// One window message as every window operation and handler receives it. The readers below are the one
// place where the message's two words are taken apart; windows and handlers ask them instead.

#include <windows.h>
#include <shellapi.h>

// A mouse message taken apart: where (client coordinates), the MK_ key flags, which button and whether it
// was a double click.
struct MouseInput {
    POINT at;
    unsigned keys;
    bool right;
    bool doubleClick;

    bool Shift() const { return (keys & MK_SHIFT) != 0; }
    bool Control() const { return (keys & MK_CONTROL) != 0; }
    bool LeftHeld() const { return (keys & MK_LBUTTON) != 0; }
};

struct WindowEvent {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND window;

    // WM_COMMAND: the command or control id, the notification code (0 from a menu, 1 from an accelerator)
    // and the control that sent it (null from a menu or an accelerator).
    unsigned CommandId() const { return LOWORD(wParam); }
    unsigned NotifyCode() const { return HIWORD(wParam); }
    HWND Control() const { return reinterpret_cast<HWND>(lParam); }

    // Mouse messages: the point in client coordinates (signed halves) and the MK_ key flags.
    POINT Point() const { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }
    unsigned MouseKeys() const { return static_cast<unsigned>(wParam); }
    MouseInput Mouse() const
    {
        const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK;
        const bool doubleClick = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
        return MouseInput{Point(), MouseKeys(), right, doubleClick};
    }

    // WM_SIZE: the new client size and the kind of change (SIZE_MINIMIZED, ...).
    SIZE ClientSize() const { return SIZE{LOWORD(lParam), HIWORD(lParam)}; }
    UINT SizeKind() const { return static_cast<UINT>(wParam); }

    // WM_KEYDOWN, WM_KEYUP, WM_CHAR: the virtual key or the character, and whether Alt was down.
    unsigned Key() const { return static_cast<unsigned>(wParam); }
    bool AltDown() const { return (HIWORD(lParam) & KF_ALTDOWN) != 0; }

    // WM_ACTIVATE: whether the window is being activated; WM_SETFOCUS: the focus was gained.
    bool Activating() const { return LOWORD(wParam) != WA_INACTIVE; }
    // WM_ACTIVATEAPP: whether the program is becoming the active one.
    bool ProgramActivating() const { return wParam != FALSE; }
    bool FocusGained() const { return message == WM_SETFOCUS; }
    // WM_MDIACTIVATE: the child being activated and the one being deactivated.
    HWND ActivatedChild() const { return reinterpret_cast<HWND>(lParam); }
    HWND DeactivatedChild() const { return reinterpret_cast<HWND>(wParam); }

    // WM_HSCROLL, WM_VSCROLL: the scroll code and the thumb's position (the bar is Control()).
    unsigned ScrollCode() const { return LOWORD(wParam); }
    int ThumbPosition() const { return static_cast<short>(HIWORD(wParam)); }

    // WM_MENUSELECT: the item under the mouse (a command id, or a pop-up's position).
    unsigned MenuItem() const { return LOWORD(wParam); }

    // WM_NOTIFY: the notification's header; WM_DROPFILES: the dropped files.
    NMHDR* Notification() const { return reinterpret_cast<NMHDR*>(lParam); }
    HDROP DroppedFiles() const { return reinterpret_cast<HDROP>(wParam); }
};
