#pragma once
// The routing base of menus: a list of handler descriptors and the mask of messages that the owner window
// forwards to it.

#include "framework/window/HandlerList.h"

#include <memory>

class WindowCL;

class CommandTarget : public EventTarget {
public:
    CommandTarget() = default;
    ~CommandTarget() override;

    // Walks the handlers newest first; 1 when one of them handled the event.
    virtual long Dispatch(WindowEvent* event);

    // Inserts the descriptor at the front; with an owner window, that window forwards the masked messages.
    void AddHandler(WindowCL* owner, std::unique_ptr<HandlerDescriptor> descriptor);
    void WantEvents(unsigned bits) { eventMask_ |= bits; }
    unsigned EventMask() const { return eventMask_; }
    WindowCL* Owner() const { return owner_; }

protected:
    std::unique_ptr<HandlerList> handlers_;
    unsigned eventMask_ = 0;
    WindowCL* owner_ = nullptr;
};

