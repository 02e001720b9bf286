// Checked powers and exponentials, and the truncation to 32-bit integers.

#include "formula/FormulaMath.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

TEST(FormulaMath, CheckedPowValuesAndFailures)
{
    struct PowCase {
        double base;
        double exponent;
        bool ok;
        double expected;
    };
    const PowCase cases[] = {
        {1.03, 2, true, 1.0609},          {2, -2, true, 0.25},        {-2, 3, true, -8},
        {10, 64, true, 1e64},             {9, 0.5, true, 3},          {5, 0, true, 1},
        {0, 2, true, 0},                  {0, -1, false, 0},          {-8, 1.0 / 3, false, 0},
        {10, 400, false, 0},              {1e-200, 2, false, 0},      {0.5, 2000, false, 0},
        {2, 1e6, false, 0},               {1.0, 1e300, true, 1},
    };
    for (const PowCase& c : cases) {
        double result = 0.0;
        EXPECT_EQ(c.ok, CheckedPow(c.base, c.exponent, result)) << c.base << "^" << c.exponent;
        if (c.ok) {
            EXPECT_NEAR(c.expected, result, 1e-14 * std::fabs(c.expected)) << c.base << "^" << c.exponent;
        }
    }
}

TEST(FormulaMath, CheckedExpFlagsOverflowOnly)
{
    double result = 0.0;
    EXPECT_TRUE(CheckedExp(1.0, result));
    EXPECT_DOUBLE_EQ(2.718281828459045, result);
    EXPECT_FALSE(CheckedExp(710.0, result));
    EXPECT_TRUE(CheckedExp(-1000.0, result));
    EXPECT_EQ(0.0, result);
}

TEST(FormulaMath, TruncationToInt32)
{
    struct TruncCase {
        double x;
        int32_t expected;
    };
    const TruncCase cases[] = {{2.9, 2},           {-2.9, -2},           {2147483647.5, 2147483647},
                               {-2147483648.9, INT32_MIN}, {2147483648.0, INT32_MIN}, {1e300, INT32_MIN},
                               {NAN, INT32_MIN}};
    for (const TruncCase& c : cases)
        EXPECT_EQ(c.expected, TruncateToInt32(c.x)) << c.x;
}

}  // namespace
