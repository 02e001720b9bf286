// Texts copied from the stamp sheet look exactly as texts drawn directly.

#include "framework/draw/TextStamps.h"

#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/zFont.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
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

// Letters that reach out of the text's cell (the right side of a final "t" or ")" in some fonts) are whole in
// every drawing too.
TEST(TextStamps, CopiedTextsMatchDrawnOnesOpaqueAndOverWhite)
{
    const struct {
        const char* face;
        int height;
        const char* text;
    } cases[] = {
        {"Arial", -16, "Outcome 12"},
        {"Times New Roman", -12, "NoTreat"},
        {"Arial", -15, "Treat"},
        {"Times New Roman", -16, "jeff"},
        {"Times New Roman", -17, "If(_pJ_7=0;1;_pJ_7)"},
    };
    for (const auto& c : cases) {
        for (const int mode : {OPAQUE, TRANSPARENT}) {
            SCOPED_TRACE(std::string(c.face) + " " + c.text + (mode == OPAQUE ? " opaque" : " over white"));
            BitmapDisplay display(240, 200);
            DisplayLock lock(display);
            DrawShape(display, RECT{0, 0, 239, 199}, RGB(255, 255, 255));
            display.PushFont(new zFont(c.face, 0, c.height, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0));
            display.SetBackgroundMode(mode);
            display.SetTextColor(Colour{0, 0, 160, 0});
            display.SetBackgroundColour(Colour{255, 255, 0, 0});
            HDC dc = display.DeviceContext();
            const int length = static_cast<int>(std::strlen(c.text));
            TextOutA(dc, 4, 0, c.text, length);
            TextStamps stamps;
            // Drawn once, stamped at the second drawing, copied at the third.
            for (int i = 1; i <= 3; ++i)
                stamps.Draw(display, nullptr, 4, 40 * i, c.text);
            const std::vector<COLORREF> drawn = Band(display, 0, 30, 240);
            for (int i = 1; i <= 3; ++i)
                EXPECT_EQ(Band(display, 40 * i, 30, 240), drawn) << "drawing " << i;
        }
    }
}

}  // namespace
