#pragma once
// Root of every object that receives window events: windows, menus, scrollers, analysis runs.

#include "framework/window/WindowEvent.h"

class EventTarget {
public:
    EventTarget() = default;
    EventTarget(const EventTarget&) = default;
    EventTarget& operator=(const EventTarget&) = default;
    virtual ~EventTarget();

    // The system's default answer to the event: DefWindowProcA, or 0 without an event.
    virtual LRESULT DefaultProcessing(WindowEvent* event);
};

// A member function of a target that handles one event; nonzero means handled.
using EventHandler = long (EventTarget::*)(WindowEvent*);

// Turns a derived class's handler into the common form.
template <class T>
EventHandler AsEventHandler(long (T::*function)(WindowEvent*))
{
    return static_cast<EventHandler>(function);
}
