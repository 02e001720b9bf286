#include "framework/window/EventTarget.h"

EventTarget::~EventTarget() = default;

LRESULT EventTarget::DefaultProcessing(WindowEvent* event)
{
    if (!event)
        return 0;
    return DefWindowProcA(event->window, event->message, event->wParam, event->lParam);
}
