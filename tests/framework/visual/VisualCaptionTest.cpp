#include "framework/draw/BitmapDisplay.h"
#include "framework/visual/VisualBevelFrame.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualCaption.h"
#include "framework/window/ChildLayout.h"

#include <gtest/gtest.h>

namespace {

const COLORREF Black = RGB(0, 0, 0), White = RGB(255, 255, 255), Grey = RGB(128, 128, 128);

// Items drawn on a memory display of the button face's colour, their pixels read back.
struct Canvas {
    BitmapDisplay display{80, 24};
    Display* slot = &display;
    VisualItemGroup root{new LayoutManager(0, 0, 80, 24, nullptr), &slot, nullptr};
    VisualButtonGroup* group = new VisualButtonGroup(&root, new LayoutManager(0, 0, 80, 24, nullptr));
    Canvas()
    {
        root.AddChild(group);
        display.Lock();
        RECT all{0, 0, 80, 24};
        FillRect(display.DeviceContext(), &all, GetSysColorBrush(COLOR_BTNFACE));
        display.Unlock();
    }
    VisualButtonCaption* Caption(const char* text, unsigned style = 0)
    {
        auto* caption = new VisualButtonCaption(group, new LayoutManager(0, 0, 80, 24, nullptr), style, text, false);
        group->AddChild(caption);
        return caption;
    }
    COLORREF Pixel(int x, int y)
    {
        DisplayLock lock(display);
        return GetPixel(display.DeviceContext(), x, y);
    }
    int Count(const RECT& r, COLORREF colour)
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                count += Pixel(x, y) == colour;
        return count;
    }
    SIZE Extent(const char* text)
    {
        DisplayLock lock(display);
        SIZE size{};
        GetTextExtentPoint32A(display.DeviceContext(), text, static_cast<int>(strlen(text)), &size);
        return size;
    }
};

} // namespace

TEST(VisualCaption, MnemonicIsUnderlinedOverItsCharacterAndDoubleAmpersandStaysText)
{
    Canvas canvas;
    VisualButtonCaption* prev = canvas.Caption("&Prev");
    prev->Draw(nullptr);
    EXPECT_EQ("Prev", prev->ShownText());
    EXPECT_EQ(0, prev->MnemonicIndex());
    const POINT at = prev->TextPosition();
    const int row = at.y + prev->TextHeight() - 1;
    const int widthOfP = canvas.Extent("P").cx;
    EXPECT_EQ(Black, canvas.Pixel(at.x, row));
    EXPECT_EQ(Black, canvas.Pixel(at.x + widthOfP, row));
    EXPECT_NE(Black, canvas.Pixel(at.x + widthOfP + 3, row));

    VisualButtonCaption* both = canvas.Caption("A&&B");
    for (int pass = 0; pass < 2; ++pass)
        EXPECT_EQ("A&B", both->ShownText());
    EXPECT_FALSE(both->HasMnemonic());
}

TEST(VisualCaption, GrayedTextHasNoBlackPassAndTheFocusRectangleErasesCleanly)
{
    Canvas canvas;
    VisualButtonCaption* caption = canvas.Caption("&Next", VisualCaption::FocusMark);
    caption->SetGrayed(true);
    caption->Draw(nullptr);
    const POINT at = caption->TextPosition();
    const RECT text{at.x, at.y, at.x + caption->TextWidth(), at.y + caption->TextHeight()};
    EXPECT_EQ(0, canvas.Count(text, Black));
    // Erased in the button face's own colour, with the grey text's ink on it.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(face, canvas.Pixel(text.left, text.top));
    EXPECT_EQ(face, canvas.Pixel(text.right - 1, text.bottom - 1));
    EXPECT_LT(canvas.Count(text, face), (text.right - text.left) * (text.bottom - text.top));

    const RECT ring{at.x - 1, at.y - 1, at.x + caption->TextWidth() + 4, at.y + caption->TextHeight() + 2};
    caption->DrawFocusRect(false);
    EXPECT_LT(0, canvas.Count(RECT{ring.left, ring.top, ring.right, ring.top + 1}, Grey));
    caption->DrawFocusRect(true);
    EXPECT_EQ(0, canvas.Count(RECT{ring.left, ring.top, ring.right, ring.top + 1}, Grey));
    EXPECT_EQ(0, canvas.Count(RECT{ring.left, ring.bottom - 1, ring.right, ring.bottom}, Grey));
}

TEST(VisualBevelFrame, SunkenBevelTwoPixelsWide)
{
    Canvas canvas;
    auto* frame = new VisualBevelFrame(canvas.group, new LayoutManager(0, 0, 10, 10, nullptr), 0, "", 1, 2, 0, false);
    frame->Draw(nullptr);
    const struct {
        int x, y;
        COLORREF colour;
    } pixels[] = {{5, 0, Grey}, {0, 5, Grey}, {5, 1, Grey}, {1, 5, Grey},
                  {9, 5, White}, {5, 9, White}, {8, 5, White}, {5, 8, White}, {5, 5, GetSysColor(COLOR_BTNFACE)}};
    for (const auto& p : pixels)
        EXPECT_EQ(p.colour, canvas.Pixel(p.x, p.y)) << p.x << "," << p.y;
    delete frame;
}

TEST(VisualLabelItem, AutoSizedLabelTakesItsTextsExtentWhenTheTextChanges)
{
    Canvas canvas;
    ChildLayout owner(0, 0, 80, 24, nullptr);
    auto* label = new VisualLabelItem(canvas.group, new LayoutManager(0, 0, 5, 5, &owner), "ab", true);
    EXPECT_EQ(1, owner.Count());
    EXPECT_EQ(canvas.Extent("ab").cx, label->Geometry()->Width());
    label->SetText("abcdef");
    EXPECT_EQ(canvas.Extent("abcdef").cx, label->Geometry()->Width());
    EXPECT_EQ(canvas.Extent("abcdef").cy, label->Geometry()->Height());
    delete label;
}
