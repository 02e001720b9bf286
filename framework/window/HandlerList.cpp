#include "framework/window/HandlerList.h"

HandlerList::~HandlerList()
{
    storage_->listGone = true;
}

void HandlerList::Add(std::unique_ptr<HandlerDescriptor> descriptor)
{
    storage_->descriptors.PushFront(std::move(descriptor));
}

bool HandlerList::Remove(UINT message, HWND window, const EventTarget* target, EventHandler function)
{
    return storage_->descriptors.RemoveFirst([&](const std::unique_ptr<HandlerDescriptor>& descriptor) {
        return descriptor->message == message && (descriptor->window == nullptr || descriptor->window == window) &&
               descriptor->Names(target, function);
    });
}

bool HandlerList::RemoveDescriptor(const HandlerDescriptor* descriptor)
{
    return storage_->descriptors.RemoveFirst(
        [&](const std::unique_ptr<HandlerDescriptor>& entry) { return entry.get() == descriptor; });
}

long HandlerList::Dispatch(WindowEvent* event, const bool* goOn)
{
    const std::shared_ptr<Storage> storage = storage_;
    Descriptors::Walk walk(storage->descriptors);
    while (std::unique_ptr<HandlerDescriptor>* descriptor = walk.Next()) {
        const HandlerDescriptor& entry = **descriptor;
        if (entry.target != nullptr && !entry.target->Retired() && entry.Match(event) && entry.Call(event) != 0)
            return 1;
        if (storage->listGone || (goOn && !*goOn))
            return 0;
    }
    return 0;
}
