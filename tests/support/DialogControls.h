#pragma once
// What a dialog's controls show, read as a test checks them, and an application with a main window to own
// the dialogs on the screen.

#include "framework/dialog/DialogFrameCL.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <string>

inline std::string TextOf(DialogFrameCL& dialog, unsigned id)
{
    char text[512] = {};
    GetWindowTextA(dialog.FindChild(id)->Handle(), text, sizeof text);
    return text;
}

inline bool Enabled(DialogFrameCL& dialog, unsigned id)
{
    return IsWindowEnabled(dialog.FindChild(id)->Handle()) != 0;
}

inline bool Checked(DialogFrameCL& dialog, unsigned id)
{
    return SendMessageA(dialog.FindChild(id)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// How many lines a list box of the dialog holds.
inline LRESULT Lines(DialogFrameCL& dialog, unsigned id)
{
    return SendMessageA(dialog.FindChild(id)->Handle(), LB_GETCOUNT, 0, 0);
}

// The activation held and an application whose created top window owns the dialogs.
struct OnScreen {
    FocusTestLock focus;
    ScopedApplication app;
    RecordingTopWindow frame;
    OnScreen() { frame.Create(); }
};
