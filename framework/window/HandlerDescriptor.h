#pragma once
// One handler registration: which events it takes (message, range of the low word of wParam, window) and
// which member function of which target handles them.

#include "framework/window/EventTarget.h"

class WindowCL;

class HandlerDescriptor {
public:
    // Any low word; the window's handle at this moment (0 without a window or before it is created).
    HandlerDescriptor(EventHandler function, EventTarget* target, UINT message, const WindowCL* window);
    // Low words from low to high; any window.
    HandlerDescriptor(unsigned low, unsigned high, EventHandler function, EventTarget* target, UINT message);
    // One low word (a command or control id); any window.
    HandlerDescriptor(unsigned id, EventHandler function, EventTarget* target, UINT message);
    virtual ~HandlerDescriptor();

    virtual bool Match(const WindowEvent* event) const;

    // Calls the function on the target.
    long Call(WindowEvent* event) const { return (target->*function)(event); }

    bool Names(const EventTarget* otherTarget, EventHandler otherFunction) const
    {
        return target == otherTarget && function == otherFunction;
    }

    unsigned low;
    unsigned high;
    UINT message;
    HWND window;
    EventTarget* target;
    EventHandler function;
};
