#include "framework/draw/Display.h"

Display::~Display() = default;

void Display::Lock()
{
    if (lockCount_ == 0)
        AcquireDC();
    ++lockCount_;
}

void Display::Unlock()
{
    if (lockCount_ <= 0)
        return;
    if (--lockCount_ == 0) {
        ReleaseDC();
        if (kind_ != KindBitmap && kind_ != KindPrinter)
            dc_ = nullptr;
    }
}

int Display::PointTenthsToDevice(int tenths) const
{
    return tenths * logPixelsY_ / 720;
}

void Display::ReadCapabilities(HDC dc)
{
    horzRes_ = GetDeviceCaps(dc, HORZRES);
    vertRes_ = GetDeviceCaps(dc, VERTRES);
    logPixelsX_ = GetDeviceCaps(dc, LOGPIXELSX);
    logPixelsY_ = GetDeviceCaps(dc, LOGPIXELSY);
    horzSize_ = GetDeviceCaps(dc, HORZSIZE);
    vertSize_ = GetDeviceCaps(dc, VERTSIZE);
}
