#include "framework/window/HandlerDescriptor.h"

#include "framework/window/CommandHandlerDescriptor.h"
#include "framework/window/WindowCL.h"

HandlerDescriptor::HandlerDescriptor(EventHandler function_, EventTarget* target_, UINT message_,
                                     const WindowCL* window_)
    : low(0), high(65535), message(message_), window(window_ ? window_->Handle() : nullptr), target(target_),
      function(function_)
{
}

HandlerDescriptor::HandlerDescriptor(unsigned low_, unsigned high_, EventHandler function_, EventTarget* target_,
                                     UINT message_)
    : low(low_), high(high_), message(message_), window(nullptr), target(target_), function(function_)
{
}

HandlerDescriptor::HandlerDescriptor(unsigned id, EventHandler function_, EventTarget* target_, UINT message_)
    : HandlerDescriptor(id, id, function_, target_, message_)
{
}

HandlerDescriptor::~HandlerDescriptor() = default;

bool HandlerDescriptor::Match(const WindowEvent* event) const
{
    const unsigned lowWord = LOWORD(event->wParam);
    return event->message == message && lowWord >= low && lowWord <= high &&
           (window == nullptr || window == event->window);
}

CommandHandlerDescriptor::CommandHandlerDescriptor(unsigned id, HWND control_, unsigned notification_,
                                                   EventHandler function_, EventTarget* target_)
    : HandlerDescriptor(id, function_, target_, WM_COMMAND), control(control_), notification(notification_)
{
}

bool CommandHandlerDescriptor::Match(const WindowEvent* event) const
{
    return HandlerDescriptor::Match(event) && reinterpret_cast<HWND>(event->lParam) == control &&
           HIWORD(event->wParam) == notification;
}
