#pragma once
// An edit control that shows its whole text: the first character at its left, the last inside its right edge,
// both on one line.

#include <gtest/gtest.h>
#include <windows.h>

inline void ExpectEditShowsItsTextWhole(HWND edit)
{
    RECT client{};
    GetClientRect(edit, &client);
    const int length = GetWindowTextLengthA(edit);
    const LRESULT first = SendMessageA(edit, EM_POSFROMCHAR, 0, 0);
    const LRESULT last = SendMessageA(edit, EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0);
    EXPECT_GE(static_cast<short>(LOWORD(first)), 0);
    EXPECT_GT(static_cast<short>(LOWORD(last)), static_cast<short>(LOWORD(first)));
    EXPECT_LT(static_cast<short>(LOWORD(last)), client.right);
    EXPECT_EQ(static_cast<short>(HIWORD(last)), static_cast<short>(HIWORD(first)));
}
