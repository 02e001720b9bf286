#include "framework/dialog/StaticCtrl.h"

#include "framework/draw/GdiScopes.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"

StaticCtrl::StaticCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, rect, style, text, id)
{
    className_ = "static";
    kind_ = KindStatic;
    style_ = (style_ & ~WS_TABSTOP) | WS_CHILD | WS_VISIBLE;
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
