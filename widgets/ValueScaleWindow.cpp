#include "widgets/ValueScaleWindow.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/Display.h"
#include "framework/window/LayoutManager.h"

ValueScaleWindow::ValueScaleWindow(WindowCL* parent, const RECT& rect, Bitmap* picture, bool framed)
    : PaneWindowCL(parent, new LayoutManager(rect, nullptr), WS_VISIBLE), picture_(picture), framed_(framed)
{
}

long ValueScaleWindow::Paint(WindowEvent*)
{
    if (!picture_)
        return 1;
    Display& display = *CurrentDisplay();
    DisplayLock lock(display);
    display.DrawBitmap(picture_, 0, 0, SRCCOPY);
    if (framed_) {
        const SIZE size = picture_->Size();
        display.FrameRect(RECT{0, 0, size.cx, size.cy});
    }
    return 1;
}
