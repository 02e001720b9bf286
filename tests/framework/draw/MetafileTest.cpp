#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DibExport.h"
#include "framework/draw/MetafileDisplay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

uint16_t Word(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

TEST(PlaceableMetafile, HeaderCarriesKeyFrameUnitsAndAChecksumThatCancelsTheWords)
{
    const std::array<uint8_t, 22> header = PlaceableMetafileHeader(RECT{1, 2, 300, 200}, 96);
    EXPECT_EQ(Word(&header[0]) | Word(&header[2]) << 16, 0x9AC6CDD7u);
    EXPECT_EQ(Word(&header[4]), 0);
    EXPECT_EQ(Word(&header[6]), 1);
    EXPECT_EQ(Word(&header[12]), 200);
    EXPECT_EQ(Word(&header[14]), 96);
    uint16_t all = 0;
    for (size_t at = 0; at < header.size(); at += 2)
        all ^= Word(&header[at]);
    EXPECT_EQ(all, 0) << "the checksum is the XOR of the ten words before it";
}

// A square of black in the middle of a 20 x 20 picture, recorded into the display.
void DrawSquare(MetafileDisplay& picture)
{
    picture.SetFrame(RECT{0, 0, 20, 20});
    DisplayLock lock(picture);
    picture.PushBrush(new zBrush(Colour{0, 0, 0, 0}));
    picture.PushPen(new zPen(NULL_PEN));
    Rectangle(picture.DeviceContext(), 5, 5, 16, 16);
}

void ExpectScaledSquare(BitmapDisplay& target)
{
    HDC dc = target.DeviceContext();
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 12, 12), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 6, 6), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 34, 34), RGB(255, 255, 255));
}

TEST(PlaceableMetafile, WrittenFilePlaysBackTheDrawing)
{
    FilePath path;
    ASSERT_TRUE(MakeTempFilePath(path));
    {
        MetafileObject picture(path, nullptr);
        DrawSquare(picture);
        ASSERT_NE(picture.Metafile(), nullptr);
        // Played straight from the display, twice the size.
        BitmapDisplay direct(40, 40);
        PatBlt(direct.DeviceContext(), 0, 0, 40, 40, WHITENESS);
        picture.CopyTo(direct, 0, 0, 40, 40, 0, 0);
        direct.SetMapMode(MM_TEXT);
        ExpectScaledSquare(direct);
    }
    std::ifstream file(path.FullPath().Text(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    file.close();
    path.Delete();
    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(Word(&bytes[0]) | Word(&bytes[2]) << 16, 0x9AC6CDD7u);
    EXPECT_EQ(Word(&bytes[10]), 20);

    HMETAFILE read = SetMetaFileBitsEx(static_cast<UINT>(bytes.size() - 22), bytes.data() + 22);
    ASSERT_NE(read, nullptr);
    BitmapDisplay target(40, 40);
    HDC dc = target.DeviceContext();
    PatBlt(dc, 0, 0, 40, 40, WHITENESS);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, 40, 40, nullptr);
    PlayMetaFile(dc, read);
    DeleteMetaFile(read);
    SetMapMode(dc, MM_TEXT);
    ExpectScaledSquare(target);
}

TEST(MetafileDisplay, WithoutFrameOrReferenceItIsTheScreensSize)
{
    MetafileDisplay picture(nullptr);
    RECT bounds{};
    picture.Bounds(bounds);
    EXPECT_GT(picture.HorzRes(), 0);
    EXPECT_EQ(bounds.right, picture.HorzRes());
    EXPECT_EQ(bounds.bottom, picture.VertRes());
    METAFILEPICT filled{};
    picture.FillMetafilePict(filled);
    EXPECT_EQ(filled.mm, MM_ANISOTROPIC);
    EXPECT_EQ(filled.xExt, picture.HorzRes());
}

TEST(BitmapExport, DibsWithAndWithoutColourTable)
{
    BitmapDisplay display(10, 10);
    const struct {
        WORD bitCount;
        SIZE_T tableBytes;
        SIZE_T imageBytes;
    } rows[] = {{24, 0, 320}, {8, 1024, 120}};
    for (const auto& row : rows) {
        HGLOBAL dib = display.ExportDib(BI_RGB, row.bitCount);
        ASSERT_NE(dib, nullptr);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
        EXPECT_EQ(header->biBitCount, row.bitCount);
        EXPECT_EQ(BitmapDisplay::DibColourTableBytes(header), row.tableBytes);
        EXPECT_EQ(GlobalSize(dib), 40 + row.tableBytes + row.imageBytes);
        GlobalUnlock(dib);
        GlobalFree(dib);
    }
}

TEST(BitmapExport, ADibDrawsBackStretchedAndNoDibFillsWithThePattern)
{
    BitmapDisplay source(2, 2);
    PatBlt(source.DeviceContext(), 0, 0, 2, 2, WHITENESS);
    SetPixel(source.DeviceContext(), 0, 0, RGB(0, 0, 0));
    HGLOBAL dib = source.ExportDib();
    ASSERT_NE(dib, nullptr);
    BitmapDisplay target(8, 8);
    HDC dc = target.DeviceContext();
    EXPECT_TRUE(DrawDib(dc, 0, 0, 8, 8, nullptr, 0, 0, 0, 0, WHITENESS));
    EXPECT_TRUE(DrawDib(dc, 0, 0, 4, 4, dib, 0, 0, 2, 2, SRCCOPY));
    GlobalFree(dib);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 6, 6), RGB(255, 255, 255));
}

TEST(BitmapDisplay, SelectingNoBitmapHandsBackTheSelectedOneAndKeepsTheFirst)
{
    BitmapDisplay display(4, 4);
    Bitmap* original = display.SelectedBitmap();
    std::unique_ptr<Bitmap> previous = display.SelectBitmap(nullptr);
    EXPECT_EQ(previous.get(), original);
    EXPECT_NE(GetCurrentObject(display.DeviceContext(), OBJ_BITMAP), original->Handle());
    RECT bounds{};
    display.Bounds(bounds);
    EXPECT_EQ(bounds.right, 0);
}

} // namespace
