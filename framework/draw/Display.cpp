#include "framework/draw/Display.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zFont.h"
#include "framework/draw/zPen.h"

#include <cstring>

namespace {

DWORD PackPoint(int x, int y)
{
    return static_cast<DWORD>(static_cast<WORD>(x)) | static_cast<DWORD>(static_cast<WORD>(y)) << 16;
}

template <class Object>
void SelectTop(HDC dc, const std::vector<std::unique_ptr<Object>>& stack)
{
    if (dc && !stack.empty() && stack.back()->Handle())
        SelectObject(dc, stack.back()->Handle());
}

// An object whose handle is already selected (a lent copy of the one below) is not selected again.
template <class Object>
void Push(HDC dc, std::vector<std::unique_ptr<Object>>& stack, Object* object)
{
    if (!object)
        return;
    const bool selected = !stack.empty() && stack.back()->Handle() == object->Handle();
    stack.emplace_back(object);
    if (!selected)
        SelectTop(dc, stack);
}

template <class Object>
std::unique_ptr<Object> Pop(HDC dc, std::vector<std::unique_ptr<Object>>& stack)
{
    if (stack.size() < 2)
        return nullptr;
    std::unique_ptr<Object> top = std::move(stack.back());
    stack.pop_back();
    if (stack.back()->Handle() != top->Handle())
        SelectTop(dc, stack);
    return top;
}

} // namespace

Display::Display(int kind) : kind_(kind)
{
    brushes_.emplace_back(new zBrush(WHITE_BRUSH));
    pens_.emplace_back(new zPen(BLACK_PEN));
    fonts_.emplace_back(new zFont(DEVICE_DEFAULT_FONT));
}

Display::~Display() = default;

void Display::Lock()
{
    if (lockCount_ == 0) {
        AcquireDC();
        if (dc_)
            ApplyState();
    }
    ++lockCount_;
}

void Display::Unlock()
{
    if (lockCount_ <= 0)
        return;
    if (--lockCount_ == 0) {
        ReleaseDC();
        dc_ = nullptr;
    }
}

void Display::ApplyState()
{
    ::SetBkColor(dc_, background_.ToColorRef());
    ::SetTextColor(dc_, text_.ToColorRef());
    if (GetBkMode(dc_) != backgroundMode_)
        SetBkMode(dc_, backgroundMode_);
    SelectTop(dc_, brushes_);
    SelectTop(dc_, pens_);
    SetROP2(dc_, rop_);
    // The map mode goes before the extents and the window extent before the viewport's, as MM_ISOTROPIC
    // needs.
    if (mapMode_ != 0)
        ::SetMapMode(dc_, mapMode_);
    if (windowOrigin_.x != 0 || windowOrigin_.y != 0)
        SetWindowOrgEx(dc_, windowOrigin_.x, windowOrigin_.y, nullptr);
    if (viewportOrigin_.x != 0 || viewportOrigin_.y != 0)
        SetViewportOrgEx(dc_, viewportOrigin_.x, viewportOrigin_.y, nullptr);
    if (windowExtent_.cx != 0 && windowExtent_.cy != 0)
        SetWindowExtEx(dc_, windowExtent_.cx, windowExtent_.cy, nullptr);
    if (viewportExtent_.cx != 0 && viewportExtent_.cy != 0)
        SetViewportExtEx(dc_, viewportExtent_.cx, viewportExtent_.cy, nullptr);
    SelectTop(dc_, fonts_);
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

void Display::CopyCapabilities(const Display& other)
{
    SetCapabilities(other.horzRes_, other.vertRes_, other.logPixelsX_, other.logPixelsY_, other.horzSize_,
                    other.vertSize_);
}

void Display::SetCapabilities(int horzRes, int vertRes, int logPixelsX, int logPixelsY, int horzSize, int vertSize)
{
    horzRes_ = horzRes;
    vertRes_ = vertRes;
    logPixelsX_ = logPixelsX;
    logPixelsY_ = logPixelsY;
    horzSize_ = horzSize;
    vertSize_ = vertSize;
}

void Display::ReplaceBottomBrush(zBrush* brush)
{
    // The new brush is selected before the old one is deleted, which cannot be while selected.
    std::unique_ptr<zBrush> old = std::move(brushes_.front());
    brushes_.front().reset(brush);
    if (brushes_.size() == 1)
        SelectTop(dc_, brushes_);
}

Colour Display::SetBackgroundColour(const Colour& colour)
{
    const Colour previous = background_;
    background_ = colour;
    if (dc_)
        ::SetBkColor(dc_, colour.ToColorRef());
    return previous;
}

Colour Display::SetTextColor(const Colour& colour)
{
    const Colour previous = text_;
    text_ = colour;
    if (dc_)
        ::SetTextColor(dc_, colour.ToColorRef());
    return previous;
}

int Display::SetBackgroundMode(int mode)
{
    const int previous = backgroundMode_;
    backgroundMode_ = mode;
    if (dc_)
        SetBkMode(dc_, mode);
    return previous;
}

int Display::SetMapMode(int mode)
{
    const int previous = mapMode_ ? mapMode_ : MM_TEXT;
    mapMode_ = mode;
    return dc_ ? ::SetMapMode(dc_, mode) : previous;
}

DWORD Display::SetWindowOrigin(int x, int y)
{
    windowOrigin_ = POINT{x, y};
    POINT previous{};
    if (dc_ && SetWindowOrgEx(dc_, x, y, &previous))
        return PackPoint(previous.x, previous.y);
    return PackPoint(x, y);
}

DWORD Display::SetViewportOrigin(int x, int y)
{
    viewportOrigin_ = POINT{x, y};
    POINT previous{};
    if (dc_ && SetViewportOrgEx(dc_, x, y, &previous))
        return PackPoint(previous.x, previous.y);
    return PackPoint(x, y);
}

void Display::SetWindowExtent(int cx, int cy)
{
    windowExtent_ = SIZE{cx, cy};
    SetWindowExtEx(dc_, cx, cy, nullptr);
}

void Display::SetViewportExtent(int cx, int cy)
{
    viewportExtent_ = SIZE{cx, cy};
    SetViewportExtEx(dc_, cx, cy, nullptr);
}

int Display::SetRop2(int mode)
{
    const int previous = rop_;
    rop_ = mode;
    if (dc_)
        SetROP2(dc_, mode);
    return previous;
}

void Display::PushBrush(zBrush* brush) { Push(dc_, brushes_, brush); }
void Display::PushPen(zPen* pen) { Push(dc_, pens_, pen); }
void Display::PushFont(zFont* font) { Push(dc_, fonts_, font); }
std::unique_ptr<zBrush> Display::PopBrush() { return Pop(dc_, brushes_); }
std::unique_ptr<zPen> Display::PopPen() { return Pop(dc_, pens_); }
std::unique_ptr<zFont> Display::PopFont() { return Pop(dc_, fonts_); }

std::unique_ptr<zBrush> Display::ReplaceBrush(zBrush* brush)
{
    std::unique_ptr<zBrush> popped = PopBrush();
    PushBrush(brush);
    return popped;
}

std::unique_ptr<zPen> Display::ReplacePen(zPen* pen)
{
    std::unique_ptr<zPen> popped = PopPen();
    PushPen(pen);
    return popped;
}

void Display::Bounds(RECT& rect) { rect = RECT{0, 0, 0, 0}; }
void Display::InvalidateRgn(zRegion*, bool) {}
void Display::InvalidateRect(const RECT*, bool) {}
void Display::ClientRect(RECT& rect) { rect = RECT{0, 0, 0, 0}; }
void Display::CopyTo(Display&, int, int, int, int, int, int) {}

SIZE Display::TextExtent(const char* text, int length)
{
    SIZE extent{0, 0};
    if (dc_ && text)
        GetTextExtentPoint32A(dc_, text, length ? length : static_cast<int>(std::strlen(text)), &extent);
    return extent;
}

BOOL Display::DrawBitmap(Bitmap* bitmap, int x, int y, DWORD rop)
{
    if (!dc_ || !bitmap || !bitmap->Handle())
        return 0;
    ScopedMemoryDC memory(dc_);
    ScopedSelection selection(memory.Get(), bitmap->Handle());
    ::SetMapMode(memory.Get(), GetMapMode(dc_));
    // The size is the distance between two converted corners, so that a window origin does not add to it.
    const SIZE pixels = bitmap->Size();
    POINT corners[2] = {{0, 0}, {pixels.cx, pixels.cy}};
    DPtoLP(dc_, corners, 2);
    POINT origin{0, 0};
    DPtoLP(memory.Get(), &origin, 1);
    BitBlt(dc_, x, y, corners[1].x - corners[0].x, corners[1].y - corners[0].y, memory.Get(), origin.x, origin.y,
           rop);
    return 1;
}

void Display::FrameRect(const RECT& rect)
{
    if (!dc_)
        return;
    const POINT corners[5] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                              {rect.left, rect.bottom}, {rect.left, rect.top}};
    Polyline(dc_, corners, 5);
}

void Display::TextOutAt(int x, int y, const char* text)
{
    if (dc_ && text)
        TextOutA(dc_, x, y, text, static_cast<int>(std::strlen(text)));
}
