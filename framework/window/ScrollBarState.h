#pragma once
// The state of one scroll bar: range, steps, the position and the position the contents are drawn at.

#include <windows.h>

class WindowCL;

class ScrollBarState {
public:
    // Range 0 to 100, page step 10, line step 1, position 0, vertical bar.
    explicit ScrollBarState(WindowCL* owner, int bar = SB_VERT);

    void SetRange(int minimum, int maximum);
    // Clamped to the range; the previous position keeps the old position.
    void SetPos(int position);
    // Clamped to the range; the previous position is not touched (thumb tracking).
    void SetPosClamped(int position);
    void SetPrevious(int position) { previous = position; }

    int minimum;
    int maximum;
    int pageStep;
    int lineStep;
    int position;
    int previous;
    WindowCL* owner;
    int bar;

private:
    int Clamp(int value) const;
    HWND LiveOwnerWindow() const;
};

struct WindowEvent;

// The scroll-bar step of the pane and dialog procedures: moves the state named by a WM_HSCROLL or WM_VSCROLL
// (a scroll-bar control's, or the window's own bar) by the event's scroll code. False when the control is
// not a framework window: the message then goes to the handler lists, where the bar's owner watches it.
bool MoveScrollStateByCode(WindowCL& window, const WindowEvent& event);
