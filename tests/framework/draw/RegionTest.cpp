#include "framework/draw/zRegion.h"
#include "tests/framework/draw/StoredRoundTrip.h"

#include <gtest/gtest.h>

namespace {

TEST(Region, OffsetMovesAgainstTheAmountAndSubtractOfAnEqualRegionEmpties)
{
    zRectRegion region(RECT{20, 20, 30, 30});
    region.Offset(10, 5);
    RECT bounds{};
    region.Bounds(bounds);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, 15);
    EXPECT_EQ(bounds.right, 20);
    EXPECT_EQ(bounds.bottom, 25);

    zRectRegion same(RECT{10, 15, 20, 25});
    region.Subtract(same);
    EXPECT_FALSE(region.Contains(15, 20));
    EXPECT_FALSE(region.IntersectsRect(RECT{0, 0, 100, 100}));
}

TEST(Region, ShapesHitTestAndReloadInBothByteOrders)
{
    // A five-pointed star drawn in one stroke: its centre is inside under winding fill only.
    const POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    zPolygonRegion winding(star, 5, WINDING);
    zPolygonRegion alternate(star, 5, ALTERNATE);
    EXPECT_TRUE(winding.Contains(50, 50));
    EXPECT_FALSE(alternate.Contains(50, 50));

    zEllipticRegion ellipse(RECT{0, 0, 100, 50});
    EXPECT_TRUE(ellipse.Contains(50, 25));
    EXPECT_FALSE(ellipse.Contains(2, 2));

    zRoundRectRegion round(RECT{0, 0, 100, 100}, 40, 40);
    EXPECT_FALSE(round.Contains(1, 1));
    EXPECT_TRUE(round.Contains(20, 1));

    for (bool swapped : {false, true}) {
        zRoundRectRegion roundBack;
        ASSERT_TRUE(LoadBytes(roundBack, StoreBytes(round, swapped), swapped));
        for (POINT p : {POINT{1, 1}, POINT{20, 1}, POINT{99, 99}, POINT{50, 50}})
            EXPECT_EQ(roundBack.Contains(p.x, p.y), round.Contains(p.x, p.y)) << p.x << "," << p.y;

        zPolygonRegion starBack;
        const std::vector<uint8_t> bytes = StoreBytes(winding, swapped);
        EXPECT_EQ(bytes.size(), 8u + 5 * 8);
        ASSERT_TRUE(LoadBytes(starBack, bytes, swapped));
        EXPECT_TRUE(starBack.Contains(50, 50));

        zEllipticRegion ellipseBack;
        ASSERT_TRUE(LoadBytes(ellipseBack, StoreBytes(ellipse, swapped), swapped));
        EXPECT_FALSE(ellipseBack.Contains(2, 2));
        EXPECT_TRUE(ellipseBack.Contains(50, 25));
    }
}

TEST(Region, APolygonCountTheStreamCannotHoldIsRefused)
{
    const std::vector<uint8_t> bytes = {0xFF, 0xFF, 0xFF, 0x0F, 1, 0, 0, 0, 1, 2, 3};
    zPolygonRegion region;
    EXPECT_FALSE(LoadBytes(region, bytes, false));
    EXPECT_FALSE(region.Contains(0, 0));
}

} // namespace
