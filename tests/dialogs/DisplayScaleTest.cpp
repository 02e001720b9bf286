#include "widgets/DisplayScale.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayScale, PixelsPerInchFollowTheFactorsRoundingDown)
{
    const struct {
        int base;
        double horizontal, vertical;
        LONG x, y;
        bool scaled;
    } cases[] = {
        {97, 0.5, -1.0, 48, 48, true},
        {96, 1.00000000001, -1.0, 96, 96, false},
        {100, 2.0, 0.5, 200, 50, true},
    };
    for (const auto& c : cases) {
        DisplayScale scale;
        scale.Measure(c.base, c.base);
        const POINT perInch = scale.Apply(c.horizontal, c.vertical);
        EXPECT_EQ(perInch.x, c.x) << c.horizontal;
        EXPECT_EQ(perInch.y, c.y) << c.horizontal;
        EXPECT_EQ(scale.IsScaled(), c.scaled) << c.horizontal;
    }
}

} // namespace
