#include "treewin/TreeArrowDrawing.h"

#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "model/TreeArrow.h"
#include "treewin/TreePainter.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

TEST(TreeArrowAreas, HeadTailAndBandFollowTheirMargins)
{
    TreeWindow window;
    const TreeArrow arrow{1.0f, 1.0f, 2.0f, 1.0f};
    const struct {
        LogicalPoint point;
        bool head, tail, line;
    } rows[] = {
        {{2.069f, 1.0f}, true, false, false},   // inside the 0.14-inch head square
        {{1.0f, 1.049f}, false, true, false},   // inside the 0.1-inch tail square, beside the band
        {{0.945f, 1.0f}, false, false, false},  // beyond the tail square
        {{1.5f, 1.025f}, false, false, true},   // within 0.04 beside the line
        {{1.5f, 0.975f}, false, false, true},
        {{1.5f, 1.06f}, false, false, false},   // beyond the band
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ArrowHitHead(arrow, row.point), row.head) << row.point.x << "," << row.point.y;
        EXPECT_EQ(ArrowHitTail(arrow, row.point), row.tail) << row.point.x << "," << row.point.y;
        EXPECT_EQ(ArrowHitTest(window, arrow, row.point), row.line) << row.point.x << "," << row.point.y;
    }
    const LogicalRect bounds = ArrowBounds(TreeArrow{2.0f, 1.0f, 1.0f, 1.5f});
    EXPECT_FLOAT_EQ(bounds.left, 0.88f);
    EXPECT_FLOAT_EQ(bounds.right, 2.12f);
    EXPECT_FLOAT_EQ(bounds.bottom, 1.62f);
}

TEST(TreeArrowDrawing, LineStyleThreeDrawsOnlyTheHead)
{
    for (const int style : {0, 3}) {
        TreeWindow window;
        window.Document().DisplayPrefs.ArrowLineStyleKey = style;
        window.Document().DisplayPrefs.ArrowHeadSize = 0;
        BitmapDisplay display(300, 100);
        DisplayLock lock(display);
        DrawShape(display, RECT{0, 0, 299, 99}, RGB(255, 255, 255));
        PaintContext context(window, display, nullptr, nullptr);
        DrawTreeArrow(window, TreeArrow{0.2f, 0.5f, 2.0f, 0.5f}, context);
        const int y = LogicalYToPixel(0.5, display);
        const COLORREF middle = GetPixel(display.DeviceContext(), LogicalXToPixel(1.0, display), y);
        const COLORREF nearHead = GetPixel(display.DeviceContext(), LogicalXToPixel(1.97, display), y);
        EXPECT_EQ(middle, style == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255)) << style;
        EXPECT_EQ(nearHead, RGB(0, 0, 0)) << style;
    }
}
