// Drag trackers: where the point may go, and that what they draw is gone when they finish.

#include "widgets/MouseTracker.h"
#include "framework/draw/BitmapDisplay.h"
#include "widgets/OutlineTracker.h"

#include <gtest/gtest.h>

namespace {

TEST(TrackerBase, PointsFollowTheAxesSnapRectangleAndLimitsInStepsOfThreePixels)
{
    struct Case {
        const char* what;
        int moveX, snapBack, limited;
        POINT to;
        POINT expected;  // CurrentPoint after the move from (10, 10)
    } cases[] = {
        {"one pixel each way is a small move", 1, 0, 0, {11, 11}, {10, 10}},
        {"three pixels move", 1, 0, 0, {12, 11}, {12, 11}},
        {"x held", 0, 0, 0, {30, 40}, {10, 40}},
        {"outside the snap rectangle: back at the start", 1, 1, 0, {80, 80}, {10, 10}},
        {"inside the snap rectangle", 1, 1, 0, {40, 20}, {40, 20}},
        {"clamped into the limit", 1, 0, 1, {90, -5}, {60, 0}},
    };
    BitmapDisplay display(100, 100);
    for (const Case& c : cases) {
        OutlineTracker tracker(&display, Colour{0, 0, 0, 0});
        tracker.MoveX = c.moveX;
        tracker.SnapBack = c.snapBack;
        tracker.SnapRect = RECT{0, 0, 50, 50};
        tracker.Limited = c.limited;
        tracker.Limit = RECT{0, 0, 60, 60};
        tracker.Start(10, 10);
        tracker.MoveTo(c.to.x, c.to.y);
        EXPECT_EQ(tracker.CurrentPoint.x, c.expected.x) << c.what;
        EXPECT_EQ(tracker.CurrentPoint.y, c.expected.y) << c.what;
        tracker.Finish();
    }
}

int DarkPixels(Display& display)
{
    DisplayLock lock(display);
    int dark = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            dark += GetPixel(display.DeviceContext(), x, y) != RGB(255, 255, 255) ? 1 : 0;
    return dark;
}

TEST(TrackerBase, ShapesAreDrawnWhereTheyGoAndErasedAtTheEnd)
{
    BitmapDisplay display(100, 100);
    {
        DisplayLock lock(display);
        PatBlt(display.DeviceContext(), 0, 0, 100, 100, WHITENESS);
    }
    MouseTracker moving(&display, RECT{10, 10, 30, 20});
    moving.Start(15, 15);
    moving.MoveTo(25, 45);
    moving.MoveTo(35, 55);
    EXPECT_EQ(moving.CurrentRect().left, 30);
    EXPECT_EQ(moving.CurrentRect().bottom, 60);
    {
        DisplayLock lock(display);
        EXPECT_EQ(GetPixel(display.DeviceContext(), 30, 50), RGB(0, 0, 0));
        // The shape before the last move was erased.
        EXPECT_EQ(GetPixel(display.DeviceContext(), 20, 40), RGB(255, 255, 255));
    }
    moving.Finish();
    EXPECT_EQ(DarkPixels(display), 0);

    DiagramTracker line(&display, POINT{90, 90});
    line.LineMode = 1;
    line.Start(50, 50);
    line.MoveTo(10, 90);
    EXPECT_EQ(line.CurrentRect().left, 90);
    EXPECT_EQ(line.CurrentRect().right, 10);
    EXPECT_GT(DarkPixels(display), 70);
    line.Finish();
    EXPECT_EQ(DarkPixels(display), 0);
}

}  // namespace
