#include "framework/draw/Bitmap.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zFont.h"
#include "framework/draw/zPen.h"
#include "foundation/Storable.h"
#include "tests/framework/draw/StoredRoundTrip.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(DrawingObjectsStored, PensAndBrushesInBothByteOrders)
{
    for (bool swapped : {false, true}) {
        zPen pen(Colour{10, 20, 30, 0}, PS_DASH, 1);
        const std::vector<uint8_t> penBytes = StoreBytes(pen, swapped);
        EXPECT_EQ(penBytes.size(), 15u);
        zPen penBack;
        ASSERT_TRUE(LoadBytes(penBack, penBytes, swapped));
        LOGPEN logPen{};
        ASSERT_TRUE(GetObjectA(penBack.Handle(), sizeof logPen, &logPen));
        EXPECT_EQ(logPen.lopnStyle, static_cast<UINT>(PS_DASH));
        EXPECT_EQ(logPen.lopnColor, RGB(10, 20, 30));

        zBrush hatch(Colour{1, 2, 3, 0}, HS_CROSS);
        zBrush hatchBack;
        ASSERT_TRUE(LoadBytes(hatchBack, StoreBytes(hatch, swapped), swapped));
        LOGBRUSH logBrush{};
        ASSERT_TRUE(GetObjectA(hatchBack.Handle(), sizeof logBrush, &logBrush));
        EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_HATCHED));
        EXPECT_EQ(logBrush.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
        EXPECT_EQ(logBrush.lbColor, RGB(1, 2, 3));

        zPen stockPen(WHITE_PEN);
        const std::vector<uint8_t> stockBytes = StoreBytes(stockPen, swapped);
        EXPECT_EQ(stockBytes.size(), 8u);
        HPEN stockHandle = nullptr;
        {
            zPen stockBack;
            ASSERT_TRUE(LoadBytes(stockBack, stockBytes, swapped));
            EXPECT_TRUE(stockBack.IsStock());
            EXPECT_EQ(stockBack.StockId(), WHITE_PEN);
            stockHandle = stockBack.Handle();
        }
        EXPECT_EQ(stockHandle, GetStockObject(WHITE_PEN));
        EXPECT_EQ(GetObjectType(stockHandle), static_cast<DWORD>(OBJ_PEN)) << "a stock pen is never deleted";
    }
}

// Fills a display with a brush and returns its pixels, row by row.
std::vector<COLORREF> PaintWith(const zBrush& brush)
{
    BitmapDisplay display(8, 8);
    RECT all{0, 0, 8, 8};
    FillRect(display.DeviceContext(), &all, brush.Handle());
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels.push_back(GetPixel(display.DeviceContext(), x, y));
    return pixels;
}

TEST(DrawingObjectsStored, APatternBrushReloadsAsThePatternItWas)
{
    BitmapDisplay drawing(8, 8);
    PatBlt(drawing.DeviceContext(), 0, 0, 8, 8, WHITENESS);
    for (int i = 0; i < 8; ++i)
        SetPixel(drawing.DeviceContext(), i, (i * 3) % 8, RGB(0, 0, 0));
    std::unique_ptr<Bitmap> pattern = drawing.SelectBitmap(nullptr);
    zBrush brush(pattern.get());
    const std::vector<COLORREF> expected = PaintWith(brush);
    for (bool swapped : {false, true}) {
        zBrush back;
        ASSERT_TRUE(LoadBytes(back, StoreBytes(brush, swapped), swapped));
        EXPECT_EQ(PaintWith(back), expected);
    }
}

TEST(FontsStored, DescriptionIs62BytesAndAFontReloadsWithItsPixelHeight)
{
    BitmapDisplay display(4, 4);
    ASSERT_EQ(display.LogPixelsY(), 96);
    zFontSpec spec("Arial", 0, 0, 700, 0, FF_SWISS, zFontSpec::StyleItalic, 0, 0, ANSI_CHARSET, 0, 0, 0);
    spec.size = 100;
    zFont font(spec, &display);
    EXPECT_EQ(font.Spec().logFont.lfHeight, -13);
    spec.logFont.lfHeight = -30;
    EXPECT_EQ(zFont(spec, nullptr).Spec().logFont.lfHeight, -30) << "without a display the height stands";
    for (bool swapped : {false, true}) {
        EXPECT_EQ(StoreBytes(spec, swapped).size(), 62u);
        zFont back;
        ASSERT_TRUE(LoadBytes(back, StoreBytes(font, swapped), swapped));
        EXPECT_FALSE(back.IsStock());
        LOGFONTA made{};
        ASSERT_TRUE(GetObjectA(back.Handle(), sizeof made, &made));
        EXPECT_EQ(made.lfHeight, -13);
        EXPECT_EQ(made.lfWeight, 700);
        EXPECT_STREQ(made.lfFaceName, "Arial");

        zFont stock(ANSI_FIXED_FONT);
        zFont stockBack;
        ASSERT_TRUE(LoadBytes(stockBack, StoreBytes(stock, swapped), swapped));
        EXPECT_EQ(stockBack.Handle(), GetStockObject(ANSI_FIXED_FONT));
    }
}

TEST(FontsStored, MetricsAre53BytesInTheirOwnOrder)
{
    BitmapDisplay display(4, 4);
    zFontInfo info(display);
    EXPECT_GT(info.metrics.tmHeight, 0);
    for (bool swapped : {false, true}) {
        const std::vector<uint8_t> bytes = StoreBytes(info, swapped);
        ASSERT_EQ(bytes.size(), 53u);
        // tmCharSet is the ninth single byte, after the eight 4-byte values.
        EXPECT_EQ(bytes[32 + 8], info.metrics.tmCharSet);
        zFontInfo back;
        ASSERT_TRUE(LoadBytes(back, bytes, swapped));
        EXPECT_EQ(back.metrics.tmHeight, info.metrics.tmHeight);
        EXPECT_EQ(back.metrics.tmDigitizedAspectY, info.metrics.tmDigitizedAspectY);
    }
}

TEST(FontsStored, RegistryMakesDescriptionsButNotFonts)
{
    ASSERT_NE(StorableRegistry::Find("zFontSpec"), nullptr);
    EXPECT_NE(StorableRegistry::Find("zFontSpec")->create, nullptr);
    ASSERT_NE(StorableRegistry::Find("zFont"), nullptr);
    EXPECT_EQ(StorableRegistry::Find("zFont")->create, nullptr);
    ASSERT_NE(StorableRegistry::Find("zFontDescript"), nullptr);
    EXPECT_EQ(StorableRegistry::Find("zFontDescript")->create, nullptr);
}

} // namespace
