#include "framework/window/ScreenMetrics.h"

#include <gtest/gtest.h>

namespace {

struct FallbackCase {
    const char* what;
    ScreenMetrics reported;
    ScreenMetrics expected;
};

class ScreenFallbacks : public testing::TestWithParam<FallbackCase> {};

TEST_P(ScreenFallbacks, ReplaceOnlyWhatTheDisplayFailedToReport)
{
    const FallbackCase& c = GetParam();
    const ScreenMetrics got = WithScreenFallbacks(c.reported);
    EXPECT_EQ(got.horzSize, c.expected.horzSize) << c.what;
    EXPECT_EQ(got.vertSize, c.expected.vertSize) << c.what;
    EXPECT_EQ(got.logPixelsY, c.expected.logPixelsY) << c.what;
    EXPECT_EQ(got.logPixelsX, c.expected.logPixelsX) << c.what;
    EXPECT_EQ(got.horzRes, c.expected.horzRes) << c.what;
    EXPECT_EQ(got.vertRes, c.expected.vertRes) << c.what;
}

// Fields in order: HORZSIZE, VERTSIZE, LOGPIXELSY, LOGPIXELSX, HORZRES, VERTRES.
INSTANTIATE_TEST_SUITE_P(
    Cases, ScreenFallbacks,
    testing::Values(
        FallbackCase{"a real display is kept", {338, 270, 96, 96, 1280, 1024}, {338, 270, 96, 96, 1280, 1024}},
        // Width 480 and height 640: the fallback is portrait, not 640 by 480.
        FallbackCase{"no resolution", {338, 270, 96, 96, 0, 0}, {338, 270, 96, 96, 480, 640}},
        FallbackCase{"no width only", {338, 270, 120, 120, 0, 768}, {338, 270, 120, 120, 480, 768}},
        FallbackCase{"no pixels per inch", {0, 0, 0, 0, 800, 600}, {0, 0, 96, 96, 800, 600}}));

TEST(ScreenMetrics, TheDesktopGivesAUsableScreen)
{
    const ScreenMetrics& screen = Screen();
    EXPECT_GT(screen.horzRes, 0);
    EXPECT_GT(screen.vertRes, 0);
    EXPECT_GT(screen.logPixelsX, 0);
    EXPECT_GT(screen.logPixelsY, 0);
    EXPECT_EQ(&Screen(), &screen);
}

} // namespace
