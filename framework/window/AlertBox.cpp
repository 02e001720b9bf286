#include "framework/window/AlertBox.h"

#include "framework/window/WindowCL.h"

#include <windows.h>

AlertBox::AlertBox(WindowCL* owner, const char* text, const char* caption, unsigned flags)
    : answer_(MessageBoxA(owner ? owner->Handle() : nullptr, text, caption, flags & 0xFFFF))
{
}
