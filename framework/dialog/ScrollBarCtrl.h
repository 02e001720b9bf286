#pragma once
// The system "scrollbar" control with the scroll state the parent's procedure moves.

#include "framework/dialog/CtrlWindowCL.h"
#include "framework/window/ScrollBarState.h"

#include <memory>

class ScrollBarCtrl : public CtrlWindowCL {
public:
    // Create form: a visible child; the window is made by Create.
    ScrollBarCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);

    ScrollBarState* State() { return state_.get(); }

private:
    std::unique_ptr<ScrollBarState> state_;
};

// A scroll bar made at once.
class ScrollBarWindowCtrl : public ScrollBarCtrl {
public:
    ScrollBarWindowCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
};
