#include "framework/draw/Display.h"

#include "framework/draw/zFont.h"

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

void Display::FrameRect(const RECT& rect)
{
    if (!dc_)
        return;
    const POINT corners[5] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                              {rect.left, rect.bottom}, {rect.left, rect.top}};
    Polyline(dc_, corners, 5);
}

void Display::PushFont(zFont* font)
{
    HGDIOBJ previous = nullptr;
    if (dc_ && font && font->Handle())
        previous = SelectObject(dc_, font->Handle());
    replacedFonts_.push_back(previous);
}

void Display::PopFont()
{
    if (replacedFonts_.empty())
        return;
    HGDIOBJ previous = replacedFonts_.back();
    replacedFonts_.pop_back();
    if (dc_ && previous)
        SelectObject(dc_, previous);
}
