#pragma once
// A handler of one control notification: WM_COMMAND from one control id, control window and notification code.

#include "framework/window/HandlerDescriptor.h"

class CommandHandlerDescriptor : public HandlerDescriptor {
public:
    CommandHandlerDescriptor(unsigned id, HWND control, unsigned notification, EventHandler function,
                             EventTarget* target);

    bool Match(const WindowEvent* event) const override;

    HWND control;
    unsigned notification;
};
