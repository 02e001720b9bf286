#pragma once
// The base of the objects that turn a pane's scroll messages into movements of its contents. The base
// moves nothing: its line, page and end operations fall through to the thumb operations, which answer 0.

#include "framework/window/EventTarget.h"

class WindowCL;

class Scroller : public EventTarget {
public:
    explicit Scroller(WindowCL* window) : window_(window) {}

    virtual long Update(WindowEvent* event);  // refit after a size change
    virtual long OnScroll(WindowEvent* event); // scroll-bar dispatch
    virtual long VertLine(WindowEvent* event);
    virtual long VertPage(WindowEvent* event);
    virtual long VertTop(WindowEvent* event);
    virtual long VertBottom(WindowEvent* event);
    virtual long VertThumb(WindowEvent* event);
    virtual long VertTrack(WindowEvent* event);
    virtual long HorzLine(WindowEvent* event);
    virtual long HorzPage(WindowEvent* event);
    virtual long HorzLeft(WindowEvent* event);
    virtual long HorzRight(WindowEvent* event);
    virtual long HorzThumb(WindowEvent* event);
    virtual long HorzTrack(WindowEvent* event);
    virtual long BeforeScroll(WindowEvent* event);

    WindowCL* Window() const { return window_; }

protected:
    WindowCL* window_;
};
