#pragma once
// An owning list of handler descriptors, newest first. Handlers may add and remove descriptors while the
// list is being walked.

#include "framework/window/HandlerDescriptor.h"
#include "framework/window/WalkableList.h"

#include <memory>

class HandlerList {
public:
    HandlerList() = default;
    HandlerList(const HandlerList&) = delete;
    HandlerList& operator=(const HandlerList&) = delete;

    // Puts the descriptor at the front: the newest registration is consulted first.
    void Add(std::unique_ptr<HandlerDescriptor> descriptor);

    // Removes the newest descriptor of this message, for this window (or any window), that belongs to this
    // target and function, so that one object's removal never takes another object's handler; false when
    // there is none.
    bool Remove(UINT message, HWND window, const EventTarget* target, EventHandler function);

    // Removes this very descriptor; false when it is not in the list.
    bool RemoveDescriptor(const HandlerDescriptor* descriptor);

    // Calls each matching descriptor in list order; the first nonzero result ends the walk with 1.
    long Dispatch(WindowEvent* event);

    int Count() const { return descriptors_.Count(); }

private:
    WalkableList<std::unique_ptr<HandlerDescriptor>> descriptors_;
};
