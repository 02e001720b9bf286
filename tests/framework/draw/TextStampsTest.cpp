// Texts copied from the stamp sheet look exactly as texts drawn directly.

#include "framework/draw/TextStamps.h"

#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/zFont.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The pixels of a band of rows, starting at the row.
std::vector<COLORREF> Band(BitmapDisplay& display, int top, int height, int width)
{
    std::vector<COLORREF> pixels;
    for (int y = top; y < top + height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(display.DeviceContext(), x, y));
    return pixels;
}

TEST(TextStamps, CopiedTextsMatchDrawnOnesOpaqueAndOverWhite)
{
    for (const int mode : {OPAQUE, TRANSPARENT}) {
        BitmapDisplay display(160, 200);
        DisplayLock lock(display);
        DrawShape(display, RECT{0, 0, 159, 199}, RGB(255, 255, 255));
        display.PushFont(new zFont("Arial", 0, -16, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0));
        display.SetBackgroundMode(mode);
        display.SetTextColor(Colour{0, 0, 160, 0});
        display.SetBackgroundColour(Colour{255, 255, 0, 0});
        HDC dc = display.DeviceContext();
        TextOutA(dc, 4, 0, "Outcome 12", 10);
        TextStamps stamps;
        // Drawn once, stamped at the second drawing, copied at the third.
        for (int i = 1; i <= 3; ++i)
            stamps.Draw(display, nullptr, 4, 40 * i, "Outcome 12");
        const std::vector<COLORREF> drawn = Band(display, 0, 30, 160);
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(Band(display, 40 * i, 30, 160), drawn) << "mode " << mode << ", drawing " << i;
    }
}

}  // namespace
