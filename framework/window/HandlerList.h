#pragma once
// An owning list of handler descriptors, newest first. Handlers may add and remove descriptors while the
// list is being walked, and may even delete the list's owner: the walk keeps the descriptors until it ends
// and calls none after the list is gone.

#include "framework/window/HandlerDescriptor.h"
#include "framework/window/WalkableList.h"

#include <memory>

class HandlerList {
public:
    HandlerList() = default;
    HandlerList(const HandlerList&) = delete;
    HandlerList& operator=(const HandlerList&) = delete;
    ~HandlerList();

    // Puts the descriptor at the front: the newest registration is consulted first.
    void Add(std::unique_ptr<HandlerDescriptor> descriptor);

    // Removes the newest descriptor of this message, for this window (or any window), that belongs to this
    // target and function, so that one object's removal never takes another object's handler; false when
    // there is none.
    bool Remove(UINT message, HWND window, const EventTarget* target, EventHandler function);

    // Removes this very descriptor; false when it is not in the list.
    bool RemoveDescriptor(const HandlerDescriptor* descriptor);

    // Calls each matching descriptor in list order; the first nonzero result ends the walk with 1. With a
    // flag to watch, the walk also ends (answering 0) as soon as a handler clears it.
    long Dispatch(WindowEvent* event, const bool* goOn = nullptr);

    int Count() const { return storage_->descriptors.Count(); }

private:
    using Descriptors = WalkableList<std::unique_ptr<HandlerDescriptor>>;
    // Shared with the walks in progress, so that a handler that deletes the list does not pull the
    // descriptors from under its own walk.
    struct Storage {
        Descriptors descriptors;
        bool listGone = false;
    };
    std::shared_ptr<Storage> storage_ = std::make_shared<Storage>();
};
