#pragma once
// A menu item's state read by command for a test: an item that is not there fails the test and reads as
// neither grayed nor checked, so that a missing item never passes for a grayed or a checked one. And the wait
// for a child's menus to reach its frame's bar.

#include "framework/window/MDIframeCL.h"
#include "tests/support/PumpMessages.h"

#include <gtest/gtest.h>

#include <windows.h>

inline UINT MenuItemState(HMENU menu, UINT id)
{
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) {
        ADD_FAILURE() << "The menu has no item of command " << id;
        return 0;
    }
    return state;
}

inline bool MenuItemGrayed(HMENU menu, UINT id)
{
    return (MenuItemState(menu, id) & MF_GRAYED) != 0;
}

inline bool MenuItemChecked(HMENU menu, UINT id)
{
    return (MenuItemState(menu, id) & MF_CHECKED) != 0;
}

// Serves this thread's messages until the child's menus are on the frame's bar and nothing is left queued:
// the merge is a queued request, which a busy machine may not reach within a fixed wait.
inline void WaitForMenusOf(MDIframeCL& frame, MDIchildCL* child)
{
    EXPECT_TRUE(PumpMessagesUntil([&] {
        MSG pending;
        return frame.MergedChild() == child && !PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
    })) << "The window's menus did not join the frame's bar";
}
