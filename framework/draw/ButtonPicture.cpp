#include "framework/draw/ButtonPicture.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/GdiScopes.h"

#include <algorithm>

namespace {

// Paints the brush where the mask is black and keeps the target where it is white.
constexpr DWORD kBrushThroughMask = 0x00B8074A;

void PaintThroughMask(HDC dc, HDC mask, const RECT& part, POINT at, int colourIndex)
{
    ScopedSelection brush(dc, GetSysColorBrush(colourIndex));
    BitBlt(dc, at.x, at.y, part.right - part.left, part.bottom - part.top, mask, part.left, part.top,
           kBrushThroughMask);
}

} // namespace

RECT PictureInk(const Bitmap& picture)
{
    const SIZE size = picture.Size();
    RECT ink{size.cx, size.cy, 0, 0};
    ScopedWindowDC screen(nullptr);
    ScopedMemoryDC memory(screen.Get());
    ScopedSelection selected(memory.Get(), picture.Handle());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if (GetPixel(memory.Get(), x, y) != face)
                ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                           std::max<LONG>(ink.bottom, y + 1)};
    return ink.left < ink.right ? ink : RECT{0, 0, 0, 0};
}

void DrawButtonPicture(HDC dc, const Bitmap& picture, const RECT& part, POINT at, bool enabled)
{
    if (!picture.Handle())
        return;
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    ScopedMemoryDC source(dc);
    ScopedSelection selected(source.Get(), picture.Handle());
    if (enabled) {
        BitBlt(dc, at.x, at.y, width, height, source.Get(), part.left, part.top, SRCCOPY);
        return;
    }
    // The mask is white where the picture shows the face and black where it has ink.
    const SIZE size = picture.Size();
    ScopedGdiObject<HBITMAP> maskBitmap(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    ScopedMemoryDC mask(dc);
    ScopedSelection maskSelected(mask.Get(), maskBitmap.Get());
    SetBkColor(source.Get(), GetSysColor(COLOR_BTNFACE));
    BitBlt(mask.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    PaintThroughMask(dc, mask.Get(), part, POINT{at.x + 1, at.y + 1}, COLOR_3DHILIGHT);
    PaintThroughMask(dc, mask.Get(), part, at, COLOR_3DSHADOW);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}
