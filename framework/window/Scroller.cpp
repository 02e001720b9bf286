#include "framework/window/Scroller.h"

long Scroller::Update(WindowEvent*)
{
    return 0;
}

long Scroller::OnScroll(WindowEvent* event)
{
    const bool vertical = event->message == WM_VSCROLL;
    switch (LOWORD(event->wParam)) {
    case SB_LINEUP:
    case SB_LINEDOWN:
        return vertical ? VertLine(event) : HorzLine(event);
    case SB_PAGEUP:
    case SB_PAGEDOWN:
        return vertical ? VertPage(event) : HorzPage(event);
    case SB_TOP:
        return vertical ? VertTop(event) : HorzLeft(event);
    case SB_BOTTOM:
        return vertical ? VertBottom(event) : HorzRight(event);
    case SB_THUMBPOSITION:
        return vertical ? VertThumb(event) : HorzThumb(event);
    case SB_THUMBTRACK:
        return vertical ? VertTrack(event) : HorzTrack(event);
    default:
        return 0;
    }
}

long Scroller::VertLine(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertPage(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertTop(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertBottom(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertThumb(WindowEvent*) { return 0; }
long Scroller::VertTrack(WindowEvent*) { return 0; }
long Scroller::HorzLine(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzPage(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzLeft(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzRight(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzThumb(WindowEvent*) { return 0; }
long Scroller::HorzTrack(WindowEvent*) { return 0; }
long Scroller::BeforeScroll(WindowEvent*) { return 0; }
