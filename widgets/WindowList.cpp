#include "widgets/WindowList.h"

#include "framework/window/WindowCL.h"

#include <vector>

void WindowList::DeleteItem(void* item)
{
    delete static_cast<WindowCL*>(item);
}

void WindowList::CloseAll()
{
    std::vector<void*> windows;
    for (int i = 0; i < Count(); ++i)
        windows.push_back(PtrArray::At(i));
    RemoveAll();
    if (!OwnsItems())
        return;
    for (void* window : windows)
        DeleteItem(window);
}
