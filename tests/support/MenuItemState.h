#pragma once
// A menu item's state read by command for a test: an item that is not there fails the test and reads as
// neither grayed nor checked, so that a missing item never passes for a grayed or a checked one.

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
