#include "analysis/LineCrossing.h"
#include "foundation/NumericHelpers.h"
#include "foundation/RandomGenerator.h"
#include "foundation/UniformRandom.h"

#include "foundation/LocaleChars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

TEST(RandomGenerator, SeedOneGivesTheKnownSequence)
{
    // The sequence of this generator from seed 1, as published for the classic runtime generator.
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    RandomGenerator generator(1);
    for (int value : expected)
        EXPECT_EQ(generator.Next(), value);
}

TEST(RandomGenerator, ASeedFixesTheSequence)
{
    SeedRandom(12345);
    int first[20];
    for (int& value : first)
        value = ProgramRandom().Next();
    SeedRandom(12345);
    for (int value : first)
        EXPECT_EQ(ProgramRandom().Next(), value);
    // Stepping the state by hand: state = state * 214013 + 2531011, result = bits 16..30.
    uint32_t state = 12345u * 214013u + 2531011u;
    EXPECT_EQ(first[0], int((state >> 16) & 0x7FFF));
}

TEST(UniformRandom, FollowsTheGeneratorAndReachesBothEnds)
{
    SeedRandom(7);
    RandomGenerator mirror(7);
    for (int i = 0; i < 100; ++i) {
        int r = mirror.Next();
        EXPECT_EQ(UniformRandom(2.0, 5.0), 2.0 + r * 3.0 / 32767.0);
    }
    SeedRandom(1);
    bool sawZero = false, sawOne = false;
    std::set<double> distinct;
    for (int i = 0; i < 400000 && !(sawZero && sawOne); ++i) {
        double u = UniformRandom(0.0, 1.0);
        ASSERT_GE(u, 0.0);
        ASSERT_LE(u, 1.0);
        sawZero = sawZero || u == 0.0;
        sawOne = sawOne || u == 1.0;
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawOne);
}

TEST(NumericHelpers, RoundToNearestIntRoundsHalvesAwayOnlyAboveOne)
{
    struct Row { double x; int32_t expected; };
    const Row rows[] = {
        {2.5, 3},   {-2.5, -2}, {-2.6, -3}, {0.7, 0},  {0.5, 0},   {0.999, 0}, {1.7, 2}, {1.5, 2},
        {-0.5, 0},  {-0.51, -1}, {0.0, 0},  {3.0, 3}, {1e12, INT32_MAX}, {-1e12, INT32_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RoundToNearestInt(row.x), row.expected) << row.x;
}

TEST(NumericHelpers, FallingFactorial)
{
    struct Row { int32_t n, k; double expected; };
    const Row rows[] = {{5, 2, 60.0}, {3, 3, 1.0}, {0, -4, 1.0}, {5, 0, 120.0}, {4, 7, 1.0}, {3, -2, 0.0},
                        {-3, -10, 1.0}, {10, 7, 720.0}};
    for (const Row& row : rows)
        EXPECT_EQ(FallingFactorial(row.n, row.k), row.expected) << row.n << " " << row.k;
}

TEST(NumericHelpers, StirlingApproximation)
{
    // sqrt(20 pi) 10^10 e^-10 = 3598695.6187 (0.83 % below 10! = 3628800).
    EXPECT_NEAR(StirlingFactorial(10.0), 3598695.6187, 1e-3);
    EXPECT_NEAR(StirlingFactorial(1.0), std::sqrt(2.0 * 3.1415926535) / std::exp(1.0), 1e-15);
}

TEST(NumericHelpers, ClampValueLeavesNaN)
{
    struct Row { double v, low, high, expected; };
    const Row rows[] = {{-1, 0, 1, 0}, {2, 0, 1, 1}, {0.5, 0, 1, 0.5}, {0, 0, 1, 0}, {1, 0, 1, 1}};
    for (const Row& row : rows) {
        double v = row.v;
        ClampValue(&v, row.low, row.high);
        EXPECT_EQ(v, row.expected) << row.v;
    }
    double nan = std::numeric_limits<double>::quiet_NaN();
    ClampValue(&nan, 0, 1);
    EXPECT_TRUE(std::isnan(nan));
}

TEST(NumericHelpers, RoundUpToStepMovesToTheNextMultipleFromTheOrigin)
{
    struct Row { double origin, v, step, expected; };
    const Row rows[] = {{0, 21, 10, 30}, {0, 20, 10, 20}, {5, 21, 10, 25}, {0, 20.0000001, 10, 20.0000001},
                        {0, -15, 10, -15}, {0.5, 0.75, 0.5, 1.0}};
    for (const Row& row : rows) {
        double v = row.v;
        RoundUpToStep(row.origin, &v, row.step, 1e-6);
        EXPECT_DOUBLE_EQ(v, row.expected) << row.origin << " " << row.v;
    }
}

TEST(NumericHelpers, DisplayedDecimalsCountsPlacesAfterTheSeparator)
{
    LocaleChars::Create(true);
    struct Row { double value; int16_t expected; };
    const Row rows[] = {{1.125, 3}, {2.0, 0}, {0.5, 1}, {1.0 / 3.0, 9}, {1234.25, 2}, {-0.75, 2}};
    for (const Row& row : rows)
        EXPECT_EQ(DisplayedDecimals(row.value, nullptr), row.expected) << row.value;
}

TEST(LineCrossing, InterpolateCrossingOfTwoLines)
{
    // A rises from 0 to 10 and B falls from 10 to 0 over x 2..4: they cross halfway, at x 3 and y 5.
    CrossingRecord crossing{0, 0, 0, 2.0, 4.0, 0.0, 10.0, 10.0, 0.0};
    InterpolateCrossing(crossing);
    EXPECT_DOUBLE_EQ(crossing.x, 3.0);
    EXPECT_DOUBLE_EQ(crossing.t, 0.5);
    EXPECT_DOUBLE_EQ(crossing.y, 5.0);
    // A from 1 to 4, B constant 2 over 0..3: A = 1 + x meets 2 at x 1.
    CrossingRecord second{0, 0, 0, 0.0, 3.0, 1.0, 2.0, 4.0, 2.0};
    InterpolateCrossing(second);
    EXPECT_DOUBLE_EQ(second.x, 1.0);
    EXPECT_DOUBLE_EQ(second.y, 2.0);
}

TEST(LineCrossing, IntersectLinesInSinglePrecision)
{
    // y = x and y = 2 - x meet at (1, 1); y = 2x + 1 and y = -x + 4 at (1, 3).
    FloatPoint p = IntersectLines({0, 0}, {2, 2}, {0, 2}, {2, 0});
    EXPECT_FLOAT_EQ(p.x, 1.0f);
    EXPECT_FLOAT_EQ(p.y, 1.0f);
    FloatPoint q = IntersectLines({0, 1}, {1, 3}, {0, 4}, {4, 0});
    EXPECT_FLOAT_EQ(q.x, 1.0f);
    EXPECT_FLOAT_EQ(q.y, 3.0f);
}

} // namespace
