#include "framework/dialog/CommandTarget.h"

#include "framework/window/WindowCL.h"

CommandTarget::~CommandTarget() = default;

long CommandTarget::Dispatch(WindowEvent* event)
{
    return handlers_ ? handlers_->Dispatch(event) : 0;
}

void CommandTarget::AddHandler(WindowCL* owner, std::unique_ptr<HandlerDescriptor> descriptor)
{
    if (!handlers_)
        handlers_ = std::make_unique<HandlerList>();
    handlers_->Add(std::move(descriptor));
    if (owner)
        owner->AddRoutingBits(eventMask_);
}
