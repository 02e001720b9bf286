#include "framework/dialog/StaticCtrl.h"

#include "framework/draw/GdiScopes.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"

namespace {

DWORD ColouredKind(DWORD style, DWORD blackKind, int colour)
{
    if (colour < 0 || colour > 2)
        return style;
    return (style & ~DWORD(SS_TYPEMASK)) | (blackKind + DWORD(colour));
}

} // namespace

StaticCtrl::StaticCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id,
                       int fillKind, int frameKind)
    : CtrlWindowCL(parent, rect, style, text, id)
{
    className_ = "static";
    kind_ = KindStatic;
    style_ = (style_ & ~WS_TABSTOP) | WS_CHILD | WS_VISIBLE;
    style_ = ColouredKind(ColouredKind(style_, SS_BLACKRECT, fillKind), SS_BLACKFRAME, frameKind);
    if (parent_ && LOBYTE(LOWORD(GetVersion())) >= 4)
        SetBackgroundColour(SplitColour(parent_->BackgroundColour()));
    if ((style & 0x1F) == SS_ICON) {
        icon_ = LoadIconA(TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr), title_.c_str());
        if (layout_)
            layout_->SetSize(32, 32);
    }
    Create();
}

StaticCtrl* StaticCtrl::FromTemplate(WindowCL* parent, unsigned id)
{
    return new StaticCtrl(parent, id, BindTag{});
}

LRESULT StaticCtrl::DefaultProcessing(WindowEvent* event)
{
    if (event && event->message == WM_PAINT && icon_) {
        ScopedPaint paint(handle_);
        DrawIcon(paint.Get(), 0, 0, icon_);
        return 1;
    }
    return CtrlWindowCL::DefaultProcessing(event);
}
