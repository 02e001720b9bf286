#pragma once
// A list of windows, owning them or not: an owned window is destroyed through its destructor. A window may
// leave the list in its own destructor, also while the list is closing all of its windows.

#include "foundation/PtrArray.h"

class WindowCL;

class WindowList : public PtrArray {
public:
    WindowList(int16_t growBy, bool ownsItems) : PtrArray(growBy, ownsItems) {}
    ~WindowList() override { CloseAll(); }
    void DeleteItem(void* item) override;

    WindowCL* At(int i) const { return static_cast<WindowCL*>(PtrArray::At(i)); }
    // Takes every window out of the list first, then destroys each owned one, first to last; a window that
    // leaves the list in its destructor finds it empty.
    void CloseAll();
};
