// Plot mapping of values onto pixels, tip boxes and value scales painted on a bitmap.

#include "widgets/FramePane.h"
#include "widgets/PlotMapping.h"
#include "widgets/TipBox.h"
#include "widgets/ValueScaleWindow.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/window/LayoutManager.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

TEST(PlotMapping, ValuesMapOntoTheRectangleAndDegenerateRangesToTheMiddle)
{
    struct Case {
        double lo, hi, value;
        int x, y;
    } cases[] = {
        {0, 10, 0, 10, 210},    // lo: left edge, bottom edge
        {0, 10, 10, 110, 10},   // hi: right edge, top edge
        {0, 10, 2.5, 35, 160},  // a quarter in
        {5, 5, 7, 60, 110},     // no range: the middle
    };
    for (const Case& c : cases) {
        PlotMapping plot;
        plot.loX = plot.loY = c.lo;
        plot.hiX = plot.hiY = c.hi;
        plot.pixels = RECT{10, 10, 110, 210};
        EXPECT_EQ(plot.PlotX(c.value), c.x) << c.lo << " " << c.hi << " " << c.value;
        EXPECT_EQ(plot.PlotY(c.value), c.y) << c.lo << " " << c.hi << " " << c.value;
    }
}

TEST(TipBox, StaysInsideItsLimitAndFillsInTheTipColour)
{
    BitmapDisplay display(200, 100);
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    PatBlt(dc, 0, 0, 200, 100, WHITENESS);
    const RECT limit{0, 0, 200, 100};
    const RECT box = DrawTipBox(dc, POINT{190, 50}, "12.5", false, &limit);
    EXPECT_EQ(box.right, 200);
    EXPECT_LT(box.left, 190);
    EXPECT_EQ(box.bottom, 50);
    const COLORREF background = GetNearestColor(dc, GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(GetPixel(dc, box.left + 1, box.bottom - 2), background);

    // Two lines are twice as high as one (less the margin), and an empty text still makes a one-line box.
    const RECT two = DrawTipBox(dc, POINT{10, 90}, "a\r\nb", false, nullptr);
    const RECT empty = DrawTipBox(dc, POINT{100, 90}, "", false, nullptr);
    EXPECT_EQ(two.bottom - two.top - 4, 2 * (box.bottom - box.top - 4));
    EXPECT_EQ(empty.bottom - empty.top, box.bottom - box.top);
}

TEST(ValueScaleWindow, CopiesItsPictureToTheOriginAndFramesItWhenAsked)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    BitmapDisplay painter(10, 6);
    PatBlt(painter.DeviceContext(), 0, 0, 10, 6, BLACKNESS);
    SetPixel(painter.DeviceContext(), 4, 3, RGB(255, 0, 0));
    std::unique_ptr<Bitmap> picture = painter.SelectBitmap(nullptr);
    for (bool framed : {false, true}) {
        auto* pane = new ValueScaleWindow(&top, RECT{0, 0, 40, 30}, picture.get(), framed);
        BitmapDisplay target(40, 30);
        HDC dc = target.DeviceContext();
        PatBlt(dc, 0, 0, 40, 30, WHITENESS);
        pane->PushDisplay(&target);
        pane->Paint(nullptr);
        pane->PopDisplay();
        EXPECT_EQ(GetPixel(dc, 4, 3), RGB(255, 0, 0)) << framed;
        EXPECT_EQ(GetPixel(dc, 10, 3), framed ? RGB(0, 0, 0) : RGB(255, 255, 255)) << framed;
        EXPECT_EQ(GetPixel(dc, 12, 3), RGB(255, 255, 255)) << framed;
    }
}

TEST(FramePane, PaintsARaisedEdgeAndASunkenOneFourPixelsIn)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    auto* pane = new FramePane(&top, new LayoutManager(RECT{0, 0, 40, 30}, nullptr), WS_VISIBLE);
    BitmapDisplay target(40, 30);
    PatBlt(target.DeviceContext(), 0, 0, 40, 30, BLACKNESS);
    pane->PushDisplay(&target);
    pane->Paint(nullptr);
    pane->PopDisplay();
    const COLORREF white = RGB(255, 255, 255), grey = RGB(128, 128, 128), black = 0;
    const struct { int x, y; COLORREF colour; } pixels[] = {
        {1, 10, white}, {2, 10, white}, {38, 10, grey}, {20, 1, white}, {20, 28, grey}, // raised
        {5, 10, grey}, {6, 10, grey}, {34, 10, white}, {20, 5, grey}, {20, 24, white},  // sunken
        {3, 10, black}, {10, 10, black}};
    for (const auto& p : pixels)
        EXPECT_EQ(GetPixel(target.DeviceContext(), p.x, p.y), p.colour) << p.x << "," << p.y;
}
