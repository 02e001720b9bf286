#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DeviceInfo.h"
#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zPen.h"

#include <gtest/gtest.h>

namespace {

// A display whose device context is a memory context, counting how often it is obtained and given back.
class CountingDisplay : public Display {
public:
    CountingDisplay() : screen(nullptr), bitmap(CreateCompatibleBitmap(screen.Get(), 8, 8)) {}
    ~CountingDisplay() override
    {
        if (memory)
            DeleteDC(memory);
    }
    void AcquireDC() override
    {
        ++acquired;
        memory = CreateCompatibleDC(screen.Get());
        SelectObject(memory, bitmap.Get());
        dc_ = memory;
    }
    void ReleaseDC() override
    {
        ++released;
        DeleteDC(memory);
        memory = nullptr;
    }
    ScopedWindowDC screen;
    ScopedGdiObject<HBITMAP> bitmap;
    HDC memory = nullptr;
    int acquired = 0;
    int released = 0;
};

TEST(Display, NestedLocksObtainTheContextOnceAndApplyTheStoredState)
{
    CountingDisplay display;
    display.SetTextColor(Colour{10, 20, 30, 0});
    display.SetWindowOrigin(0, 0);
    display.SetViewportOrigin(5, 7);
    display.Lock();
    display.Lock();
    EXPECT_EQ(display.acquired, 1);
    HDC dc = display.DeviceContext();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30));
    POINT viewport{}, window{};
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    EXPECT_EQ(viewport.x, 5);
    EXPECT_EQ(viewport.y, 7);
    EXPECT_EQ(window.x, 0);
    // A setter while locked applies at once.
    const Colour previous = display.SetBackgroundColour(Colour{1, 2, 3, 0});
    EXPECT_EQ(previous.red, 255);
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    display.Unlock();
    EXPECT_EQ(display.released, 0);
    display.Unlock();
    EXPECT_EQ(display.released, 1);
    EXPECT_EQ(display.DeviceContext(), nullptr);
    // Without a context the map mode answers what was stored; the origin answers the new values packed.
    EXPECT_EQ(display.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    EXPECT_EQ(display.SetMapMode(MM_TEXT), MM_ANISOTROPIC);
    EXPECT_EQ(display.SetWindowOrigin(3, -1), 0xFFFF0003u);
}

TEST(Display, PoppingAPenReselectsTheOneBelowAndLeftoversAreFreed)
{
    HPEN leftover = nullptr;
    {
        BitmapDisplay display(4, 4);
        HDC dc = display.DeviceContext();
        HGDIOBJ bottom = GetCurrentObject(dc, OBJ_PEN);
        auto* red = new zPen(Colour{255, 0, 0, 0}, PS_SOLID, 1);
        display.PushPen(red);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), red->Handle());
        std::unique_ptr<zPen> popped = display.PopPen();
        EXPECT_EQ(popped.get(), red);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), bottom);
        EXPECT_EQ(GetObjectType(popped->Handle()), static_cast<DWORD>(OBJ_PEN));
        EXPECT_EQ(display.PopPen(), nullptr) << "the bottom default is never popped";
        auto* kept = new zPen(Colour{0, 0, 255, 0}, PS_SOLID, 1);
        leftover = kept->Handle();
        display.PushPen(kept);
    }
    EXPECT_EQ(GetObjectType(leftover), 0u);
}

TEST(Display, FrameRectLightsTheRightBottomCornerAndFillsNothing)
{
    BitmapDisplay display(16, 16);
    HDC dc = display.DeviceContext();
    PatBlt(dc, 0, 0, 16, 16, WHITENESS);
    display.FrameRect(RECT{0, 0, 10, 10});
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255));
}

TEST(Display, DrawBitmapCopiesAnotherBitmapAndCopyToBlitsOntoAnotherDisplay)
{
    BitmapDisplay source(4, 4);
    PatBlt(source.DeviceContext(), 0, 0, 4, 4, BLACKNESS);
    std::unique_ptr<Bitmap> picture = source.SelectBitmap(nullptr);
    BitmapDisplay target(8, 8);
    PatBlt(target.DeviceContext(), 0, 0, 8, 8, WHITENESS);
    EXPECT_TRUE(target.DrawBitmap(picture.get(), 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(target.DeviceContext(), 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(target.DeviceContext(), 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(target.DeviceContext(), 5, 5), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(target.DeviceContext(), 6, 6), RGB(255, 255, 255));

    BitmapDisplay copy(8, 8);
    PatBlt(copy.DeviceContext(), 0, 0, 8, 8, WHITENESS);
    target.CopyTo(copy, 0, 0, 4, 4, 2, 2);
    EXPECT_EQ(GetPixel(copy.DeviceContext(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(copy.DeviceContext(), 4, 4), RGB(255, 255, 255));
}

TEST(Colour, ColorRefForms)
{
    const struct {
        Colour colour;
        COLORREF expected;
    } rows[] = {
        {{1, 2, 3, 0}, 0x00030201u},
        {{5, 1, 9, 1}, 0x01000000u | 261u}, // palette index red + 256 x green; blue ignored
        {{1, 2, 3, 7}, 0x02030201u},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.colour.ToColorRef(), row.expected);
        if (row.colour.flag != 7) {
            const Colour split = SplitColour(row.expected);
            EXPECT_EQ(split.flag, row.colour.flag);
            EXPECT_EQ(split.red, row.colour.red);
        }
    }
}

} // namespace

namespace {

TEST(DeviceInfo, ReadsThroughTheDisplaysContextAndFallsBackWithoutOne)
{
    BitmapDisplay bitmap(4, 4);
    DeviceInfo info(bitmap);
    EXPECT_EQ(info.horzRes, bitmap.HorzRes());
    EXPECT_NE(info.rasterCaps & RC_BITBLT, 0);
    EXPECT_EQ(bitmap.LockCount(), 1) << "the snapshot gives the lock back";

    Display plain;
    DeviceInfo none(plain);
    EXPECT_EQ(none.horzRes, 640);
    EXPECT_EQ(none.vertRes, 480);
    EXPECT_EQ(none.rasterCaps, 0);
    none.Lock();
    EXPECT_EQ(none.Caps(), 0);
    none.Unlock();
}

} // namespace

namespace {

TEST(Display, TextIsMeasuredAndDrawnInTheCurrentFontAndColours)
{
    BitmapDisplay display(64, 32);
    HDC dc = display.DeviceContext();
    PatBlt(dc, 0, 0, 64, 32, WHITENESS);
    display.PushFont(new zFont("Arial", 0, -20, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    const SIZE one = display.TextExtent("W", 0);
    const SIZE three = display.TextExtent("WWW", 0);
    EXPECT_EQ(display.TextExtent("WWWxyz", 3).cx, three.cx) << "a length counts only that many characters";
    EXPECT_GT(three.cx, one.cx);
    EXPECT_GE(one.cy, 18) << "the pushed 20-pixel font measures, not the default";
    display.SetTextColor(Colour{255, 0, 0, 0});
    display.SetBackgroundMode(TRANSPARENT);
    display.TextOutAt(2, 2, "WWW");
    int red = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            red += GetPixel(dc, x, y) == RGB(255, 0, 0);
    EXPECT_GT(red, 10);
    std::unique_ptr<zFont> popped = display.PopFont();
    ASSERT_NE(popped, nullptr);
    EXPECT_LT(display.TextExtent("W", 0).cy, one.cy);
}

} // namespace
