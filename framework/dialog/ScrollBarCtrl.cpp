#include "framework/dialog/ScrollBarCtrl.h"

ScrollBarCtrl::ScrollBarCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, rect, style, text, id), state_(std::make_unique<ScrollBarState>(this, SB_CTL))
{
    className_ = "scrollbar";
    kind_ = KindScrollBar;
    style_ |= WS_CHILD | WS_VISIBLE;
}

ScrollBarWindowCtrl::ScrollBarWindowCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text,
                                         unsigned id)
    : ScrollBarCtrl(parent, rect, style, text, id)
{
    Create();
}
