// Smooth curves through points: the spline passes through every point, stays straight through points in a
// row, and its drawing, bounding box and hit region agree with that.

#include "widgets/SplineCurve.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/zRegion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Probe {
    int x;
    int y;
    bool onCurve;
};

struct CurveCase {
    const char* what;
    std::vector<LogicalPoint> points;
    RECT bounds; // expected, with `slack` pixels allowed outward for the curve's swing between points
    int slack;
    std::vector<Probe> probes;
};

// At 96 pixels per inch; one inch is 96 pixels.
const CurveCase Cases[] = {
    {"points in a row give a straight curve",
     {{0.5f, 0.5f}, {1.0f, 1.0f}, {1.5f, 1.5f}},
     {48, 48, 144, 144},
     0,
     {{60, 60, true}, {96, 96, true}, {130, 130, true}, {96, 60, false}, {60, 96, false}}},
    {"an arch passes through its top and swings little beyond it",
     {{0.5f, 1.5f}, {1.0f, 0.5f}, {1.5f, 1.5f}},
     {48, 48, 144, 144},
     8,
     {{96, 48, true}, {48, 144, true}, {140, 134, true}, {96, 120, false}}},
    {"coinciding points are pulled apart rather than divided by zero",
     {{1.0f, 1.0f}, {1.0f, 1.0f}, {2.0f, 1.0f}},
     {96, 96, 192, 96},
     20,
     {{96, 96, true}, {150, 150, false}}},
};

TEST(SplineCurve, PassesThroughItsPointsAndItsBoxAndRegionAgree)
{
    BitmapDisplay display(300, 300);
    for (const CurveCase& row : Cases) {
        SCOPED_TRACE(row.what);
        SplineCurve box(display, row.points.data(), static_cast<int>(row.points.size()), 40, SplineCurve::BoundingBox);
        const RECT& bounds = box.Bounds();
        EXPECT_LE(bounds.left, row.bounds.left);
        EXPECT_GE(bounds.left, row.bounds.left - row.slack);
        EXPECT_LE(bounds.top, row.bounds.top);
        EXPECT_GE(bounds.top, row.bounds.top - row.slack);
        EXPECT_GE(bounds.right, row.bounds.right);
        EXPECT_LE(bounds.right, row.bounds.right + row.slack);
        EXPECT_GE(bounds.bottom, row.bounds.bottom);
        EXPECT_LE(bounds.bottom, row.bounds.bottom + row.slack);

        SplineCurve hit(display, row.points.data(), static_cast<int>(row.points.size()), 40, SplineCurve::HitRegion);
        ASSERT_NE(hit.Region(), nullptr);
        for (const Probe& probe : row.probes)
            EXPECT_EQ(hit.Region()->Contains(probe.x, probe.y), probe.onCurve) << probe.x << "," << probe.y;
    }
}

TEST(SplineCurve, DrawsThroughItsPoints)
{
    BitmapDisplay display(300, 300);
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    PatBlt(dc, 0, 0, 300, 300, WHITENESS);
    const LogicalPoint arch[] = {{0.5f, 1.5f}, {1.0f, 0.5f}, {1.5f, 1.5f}};
    SplineCurve curve(display, arch, 3, 39, SplineCurve::Draw);
    // A line leaves out its last pixel, so the end point itself is not looked at.
    for (POINT knot : {POINT{48, 144}, POINT{96, 48}})
        EXPECT_EQ(GetPixel(dc, knot.x, knot.y), RGB(0, 0, 0)) << knot.x << "," << knot.y;
    EXPECT_EQ(GetPixel(dc, 96, 120), RGB(255, 255, 255));
}

} // namespace
