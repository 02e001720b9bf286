#include "treewin/NoteBoxDrawing.h"

#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/BitmapDisplay.h"
#include "model/NoteBox.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Drawing into a bitmap at the screen's resolution: the pixel rectangle of the frame is found through the
// same conversion the note uses, and the border pixels are read back.
class NoteBoxDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        display = std::make_unique<BitmapDisplay>(300, 300);
        display->Lock();
        DrawShape(*display, RECT{0, 0, 299, 299}, RGB(255, 255, 255));
        SetBkColor(display->DeviceContext(), RGB(255, 255, 255));
    }
    void TearDown() override
    {
        display->Unlock();
        display.reset();
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(display->DeviceContext(), x, y); }
    int BlackPixelsOnTopEdge(const RECT& pixels) const
    {
        int count = 0;
        for (int x = pixels.left; x <= pixels.right; ++x)
            count += Pixel(x, pixels.top) == RGB(0, 0, 0) ? 1 : 0;
        return count;
    }

    std::unique_ptr<BitmapDisplay> display;
};

TEST_F(NoteBoxDrawTest, BorderStyleDecidesTheFrame)
{
    TreeDocument document;
    NoteBox note(LogicalRect{0.5f, 0.5f, 2.0f, 1.5f}, &document);
    const RECT pixels = LogicalRectToPixels(note.frame, *display);
    const int width = pixels.right - pixels.left + 1;
    struct {
        int style;
        bool plain;
        int low;
        int high;
    } cases[] = {{0, false, width, width}, {1, false, width / 4, width - 2}, {5, false, 0, 0}, {5, true, width, width}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        DrawShape(*display, RECT{0, 0, 299, 299}, RGB(255, 255, 255));
        document.DisplayPrefs.NoteBoxBorderKey = c.style;
        DrawNoteBox(note, *display, c.plain);
        const int black = BlackPixelsOnTopEdge(pixels);
        EXPECT_GE(black, c.low);
        EXPECT_LE(black, c.high);
    }
}

TEST_F(NoteBoxDrawTest, TextInsideAndHandlesOnTheCorners)
{
    NoteBox note(LogicalRect{0.5f, 0.5f, 2.5f, 1.5f}, nullptr);
    note.text = "WWWW MMMM";
    DrawNoteBoxWithHandles(note, *display, 1);
    const RECT text = LogicalRectToPixels(note.GetTextRect(), *display);
    int inked = 0;
    for (int y = text.top + 4; y < text.bottom - 4; ++y)
        for (int x = text.left + 4; x < text.right - 4; ++x)
            inked += Pixel(x, y) != RGB(255, 255, 255) ? 1 : 0;
    EXPECT_GT(inked, 20);
    // Each handle is a filled square centred on a corner of the text rectangle.
    EXPECT_EQ(Pixel(text.left, text.top), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(text.right, text.bottom), RGB(0, 0, 0));
    // Nothing is drawn outside the frame.
    EXPECT_EQ(Pixel(5, 5), RGB(255, 255, 255));
}

}  // namespace
