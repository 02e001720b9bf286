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

    // Set once the object's derived parts are destroyed (a window in its base destructor): the handlers
    // registered for it name members that are gone, so no list calls them any more.
    bool Retired() const { return retired_; }

protected:
    void Retire() { retired_ = true; }

private:
    bool retired_ = false;
};

// A member function of a target that handles one event; nonzero means handled.
using EventHandler = long (EventTarget::*)(WindowEvent*);

// Turns a derived class's handler into the common form.
template <class T>
EventHandler AsEventHandler(long (T::*function)(WindowEvent*))
{
    return static_cast<EventHandler>(function);
}
