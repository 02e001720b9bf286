#pragma once
// The letters typed in an open menu. A letter that two or more items of the menu underline runs none of
// them: it moves the highlight to the next of them, and Enter runs that one when it is enabled. A letter
// that one item underlines stays the menu's own (a grayed item's then does nothing).

#include <windows.h>

class MenuLetters {
public:
    // The calling thread's menus are watched from the first Watch until as many Unwatch.
    static void Watch();
    static void Unwatch();
    // A Down key that the watching posted to move the highlight (dropped when it comes after its menu closed).
    static bool IsStepKey(const MSG& message);
};
