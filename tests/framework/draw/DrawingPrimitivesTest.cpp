#include "framework/draw/ColourContext.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/LineGeometry.h"

#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/MetafileDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(LineGeometry, AnglesAndClipping)
{
    EXPECT_NEAR(LineAngle({0, 0}, {1, 1}), 3.1415926535 / 4, 1e-9);
    EXPECT_NEAR(LineAngle({0, 0}, {-1, 0}), 3.1415926535, 1e-9);
    EXPECT_NEAR(LineAngle({0, 0}, {0, -1}), 3 * 3.1415926535 / 2, 1e-9);
    EXPECT_NEAR(LineAngle({0, 0}, {1, -1}), 7 * 3.1415926535 / 4, 1e-6);

    const LogicalRect box{0, 0, 2, 2};
    LogicalPoint p0{-3, 1}, p1{-1, 1};
    EXPECT_FALSE(ClipLine(p0, p1, box, true, true));
    EXPECT_EQ(p0.x, -3.0f);
    EXPECT_EQ(p1.x, -1.0f);
    LogicalPoint q0{-1, 1}, q1{3, 1};
    EXPECT_TRUE(ClipLine(q0, q1, box, true, true));
    EXPECT_FLOAT_EQ(q0.x, 0.0f);
    EXPECT_FLOAT_EQ(q1.x, 2.0f);
    LogicalPoint r0{1, -1}, r1{1, 3};
    EXPECT_TRUE(ClipLine(r0, r1, box, false, true));
    EXPECT_FLOAT_EQ(r0.y, 0.0f);
    EXPECT_FLOAT_EQ(r1.y, 2.0f);
}

TEST(ColourContext, BlackAndWhitePicturesSplitAt672)
{
    MetafileDisplay picture(nullptr);
    picture.SetBlackAndWhite(true);
    LogicalRect clip{1, 1, 2, 2};
    const ColourContext blackAndWhite(picture, nullptr, &clip);
    picture.SetBlackAndWhite(false);
    const ColourContext colours(picture, nullptr, nullptr);

    EXPECT_EQ(clip.left, -1e10f);
    EXPECT_EQ(blackAndWhite.MapColour({224, 224, 224, 0}).ToColorRef(), RGB(255, 255, 255));
    EXPECT_EQ(blackAndWhite.MapColour({224, 224, 223, 0}).ToColorRef(), RGB(0, 0, 0));
    EXPECT_EQ(colours.MapColour({0, 128, 0, 0}).ToColorRef(), RGB(0, 128, 0));
}

TEST(GraphStyles, HatchAndColourRepeatWithTheirOwnPeriods)
{
    EXPECT_EQ(GraphItemStyle(7).style, HS_CROSS);
    EXPECT_EQ(GraphItemStyle(7).colour.ToColorRef(), RGB(0, 0, 255));
    EXPECT_EQ(GraphItemStyle(5).style, 99);
    EXPECT_EQ(GraphItemStyle(5).colour.ToColorRef(), RGB(128, 0, 128));
    EXPECT_EQ(CountBits(0xF0F0u), 8);
    EXPECT_EQ(LowestBitIndex(0x50u), 4);
    EXPECT_EQ(LowestBitIndex(0), -1);
}

namespace {

// A row of the bitmap as '#' (black) and '.' (white).
std::string Row(BitmapDisplay& display, int y, int from, int to)
{
    std::string row;
    for (int x = from; x < to; ++x)
        row += GetPixel(display.DeviceContext(), x, y) == RGB(0, 0, 0) ? '#' : '.';
    return row;
}

} // namespace

TEST(DrawingPrimitives, DashedLinesAndArrowHeadsArePixelExact)
{
    BitmapDisplay display(200, 40);
    DrawShape(display, RECT{0, 0, 199, 39}, RGB(255, 255, 255));
    // Other styles: 1-pixel dash and gap, so one pixel first, then two on and two off.
    DrawDashedLine(display, {0, 0.05f}, {0.1f, 0.05f}, 9, RGB(0, 0, 0));
    const int row = LogicalYToPixel(0.05, display);
    EXPECT_EQ(Row(display, row, 0, 9), "#..##..##");

    const zRegion* none = DrawArrowHead(display, {1.0f, 0.2f}, {1.5f, 0.2f}, 0.1, 0.785375, {0, 0, 0, 0}, true, false);
    EXPECT_EQ(none, nullptr);
    const int y = LogicalYToPixel(0.2, display);
    const int tip = LogicalXToPixel(1.5, display);
    EXPECT_EQ(GetPixel(display.DeviceContext(), tip - 3, y), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(display.DeviceContext(), tip + 3, y), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(display.DeviceContext(), tip - 20, y), RGB(255, 255, 255));
    // Drawn upwards the head still points to its tip.
    DrawArrowHead(display, {0.5f, 0.4f}, {0.5f, 0.1f}, 0.1, 0.785375, {0, 0, 0, 0}, true, false);
    const int x = LogicalXToPixel(0.5, display);
    EXPECT_EQ(GetPixel(display.DeviceContext(), x, LogicalYToPixel(0.1, display) + 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(display.DeviceContext(), x, LogicalYToPixel(0.1, display) - 3), RGB(255, 255, 255));
}

// An outline reaching far beyond the display (zoomed in, or so made by code) costs its visible part only, its
// pattern carried over the pixels passed by: one pixel first, then two on and two off from its start.
TEST(DrawingPrimitives, DashedOutlinesFarBeyondTheDisplayDrawOnlyTheirVisiblePart)
{
    BitmapDisplay display(200, 40);
    DrawShape(display, RECT{0, 0, 199, 39}, RGB(255, 255, 255));
    DrawDashedRect(display, LogicalRect{-1e7f, 0.1f, 1e7f, 0.3f}, 9, RGB(0, 0, 0));
    const int64_t left = LogicalXToPixel(-1e7, display);
    std::string top;
    for (int64_t x = 0; x < 200; ++x)
        top += (x - left) % 4 == 0 || (x - left) % 4 == 3 ? '#' : '.';
    EXPECT_EQ(Row(display, LogicalYToPixel(0.1, display), 0, 200), top);
    EXPECT_EQ(Row(display, LogicalYToPixel(0.2, display), 0, 200), std::string(200, '.'));
}

TEST(DrawingPrimitives, FramesAreLitFromTheTopLeft)
{
    BitmapDisplay display(40, 40);
    DrawShape(display, RECT{0, 0, 39, 39}, RGB(255, 255, 255));
    const COLORREF white = RGB(255, 255, 255), grey = RGB(128, 128, 128), dark = RGB(64, 64, 64);
    HDC dc = display.DeviceContext();
    // A raised frame: black outer right and bottom edges, then white above and left of grey.
    Draw3DFrame(display, RECT{0, 0, 20, 20}, true, 1);
    struct Pixel {
        int x, y;
        COLORREF colour;
    } raised[] = {{10, 19, RGB(0, 0, 0)}, {19, 10, RGB(0, 0, 0)}, {0, 10, white}, {10, 0, white},
                  {18, 10, grey}, {10, 18, grey}};
    for (const Pixel& p : raised)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.colour) << p.x << "," << p.y;
    // A sunken frame of depth 2: a dark grey outer left and top edge, grey inside it.
    Draw3DFrame(display, RECT{20, 20, 40, 40}, false, 2);
    EXPECT_EQ(GetPixel(dc, 19, 30), dark);
    EXPECT_EQ(GetPixel(dc, 30, 19), dark);
    EXPECT_EQ(GetPixel(dc, 20, 30), grey);
    EXPECT_EQ(GetPixel(dc, 30, 20), grey);
}
