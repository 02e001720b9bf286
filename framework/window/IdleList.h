#pragma once
// The application's idle tasks: while no message waits, the message loop calls every task in the order
// added; a task that answers nonzero is finished and leaves the list.

#include "framework/window/EventTarget.h"
#include "framework/window/WalkableList.h"

// A member function of the target that takes no argument; nonzero means the task is finished.
using IdleFunction = long (EventTarget::*)();

struct IdleTask {
    EventTarget* target;
    IdleFunction function;
};

class IdleList {
public:
    IdleList() = default;
    IdleList(const IdleList&) = delete;
    IdleList& operator=(const IdleList&) = delete;

    // Appends a task at the end.
    void Add(EventTarget* target, IdleFunction function);
    template <class T>
    void Add(T* target, long (T::*function)())
    {
        Add(static_cast<EventTarget*>(target), static_cast<IdleFunction>(function));
    }

    // Removes every task with this target and function; none is harmless.
    void Remove(EventTarget* target, IdleFunction function);
    template <class T>
    void Remove(T* target, long (T::*function)())
    {
        Remove(static_cast<EventTarget*>(target), static_cast<IdleFunction>(function));
    }

    // Calls every task once, in list order, when enabled and not empty. Tasks added during the walk after
    // the current one are called in the same walk.
    void Run();

    int Count() const { return count_; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool IsWalking() const { return walking_ > 0; }

private:
    WalkableList<IdleTask> tasks_;
    bool enabled_ = true;
    int count_ = 0;
    int walking_ = 0;
};
