#include "framework/window/HandlerList.h"

void HandlerList::Add(std::unique_ptr<HandlerDescriptor> descriptor)
{
    descriptors_.PushFront(std::move(descriptor));
}

bool HandlerList::Remove(UINT message, HWND window, const EventTarget* target, EventHandler function)
{
    return descriptors_.RemoveFirst([&](const std::unique_ptr<HandlerDescriptor>& descriptor) {
        return descriptor->message == message && (descriptor->window == nullptr || descriptor->window == window) &&
               descriptor->Names(target, function);
    });
}

bool HandlerList::RemoveDescriptor(const HandlerDescriptor* descriptor)
{
    return descriptors_.RemoveFirst(
        [&](const std::unique_ptr<HandlerDescriptor>& entry) { return entry.get() == descriptor; });
}

long HandlerList::Dispatch(WindowEvent* event)
{
    WalkableList<std::unique_ptr<HandlerDescriptor>>::Walk walk(descriptors_);
    while (std::unique_ptr<HandlerDescriptor>* descriptor = walk.Next()) {
        if ((*descriptor)->Match(event) && (*descriptor)->Call(event) != 0)
            return 1;
    }
    return 0;
}
