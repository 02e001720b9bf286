#include "widgets/ClipboardReader.h"
#include "widgets/ClipboardSnapshot.h"
#include "widgets/ClipboardText.h"
#include "widgets/ClipboardWriter.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/MetafileDisplay.h"
#include "framework/window/Clipboard.h"
#include "framework/window/ClipboardFormat.h"
#include "framework/window/TopWindow.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TEST(ClipboardFormat, KindsAndEquality)
{
    const struct {
        uint32_t number;
        uint32_t kind;
    } cases[] = {{0, 10}, {1, 1}, {5, 5}, {9, 9}, {10, 10}, {0xC000, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(ClipboardFormat(c.number).Kind(), c.kind) << c.number;
    const ClipboardFormat registered = ClipboardFormat::Register("KivoClipboardTest");
    EXPECT_EQ(registered.Kind(), 10u);
    EXPECT_GE(registered.Number(), 0xC000u);
    EXPECT_EQ(ClipboardFormat::Register("KivoClipboardTest"), registered);
    EXPECT_EQ(ClipboardFormat(ClipboardFormat::Text), ClipboardFormat(1u));
    EXPECT_NE(ClipboardFormat(ClipboardFormat::Text), registered);
}

class ClipboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TopWindow>(nullptr, nullptr, WS_OVERLAPPEDWINDOW, "clipboard");
        window->Create();
        ASSERT_NE(window->Handle(), nullptr);
        clipboard = std::make_unique<Clipboard>(window.get());
        clipboard->Empty();
    }
    void TearDown() override
    {
        clipboard.reset();
        window.reset();
    }

    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    std::unique_ptr<TopWindow> window;
    std::unique_ptr<Clipboard> clipboard;
    const ClipboardFormat format = ClipboardFormat::Register("KivoClipboardTest");
};

TEST_F(ClipboardTest, TextBlockSizesAndTwoPutsInARow)
{
    EXPECT_EQ(clipboard->GetText(), nullptr);
    ASSERT_NE(clipboard->PutText("abc"), 0);
    const uint8_t bytes[3] = {7, 8, 9};
    ASSERT_NE(clipboard->PutBlock(bytes, 3, format), 0);
    EXPECT_TRUE(clipboard->HasText());
    EXPECT_TRUE(clipboard->HasFormat(format));
    std::unique_ptr<char[]> text(clipboard->GetText());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "abc");
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> block(clipboard->GetBlock(format, size));
    ASSERT_NE(block, nullptr);
    ASSERT_GE(size, 4u);
    EXPECT_EQ(std::memcmp(block.get(), bytes, 3), 0);
    EXPECT_EQ(block[3], 0);
}

TEST_F(ClipboardTest, EmptyBlockAndMissingFormat)
{
    ASSERT_NE(clipboard->PutBlock(nullptr, 0, format), 0);
    uint32_t size = 99;
    std::unique_ptr<uint8_t[]> block(clipboard->GetBlock(format, size));
    ASSERT_NE(block, nullptr);
    EXPECT_GE(size, 1u);
    EXPECT_EQ(block[0], 0);
    clipboard->Empty();
    block.reset(clipboard->GetBlock(format, size));
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_FALSE(Clipboard(nullptr).HasFormat(ClipboardFormat()));
    EXPECT_EQ(Clipboard(nullptr).PutText("x"), 0);
}

TEST_F(ClipboardTest, WriterFlushesOnceAndReaderReadsBack)
{
    {
        ClipboardWriter writer(*clipboard, format, true);
        writer.Stream()->WriteLong(123456);
        EXPECT_NE(writer.Flush(), 0);
        EXPECT_EQ(writer.Stream(), nullptr);
        EXPECT_EQ(writer.Flush(), 0);
    }
    ClipboardReader reader(*clipboard, format);
    ASSERT_NE(reader.Stream(), nullptr);
    int32_t value = 0;
    reader.Stream()->ReadLong(value);
    EXPECT_EQ(value, 123456);
    ClipboardReader absent(*clipboard, ClipboardFormat::Register("KivoClipboardAbsent"));
    EXPECT_EQ(absent.Stream(), nullptr);
    EXPECT_EQ(absent.Size(), 0u);
}

// A 6 x 6 white bitmap with a black pixel at (2, 3).
std::unique_ptr<Bitmap> MarkedBitmap()
{
    BitmapDisplay drawing(6, 6);
    PatBlt(drawing.DeviceContext(), 0, 0, 6, 6, WHITENESS);
    SetPixel(drawing.DeviceContext(), 2, 3, RGB(0, 0, 0));
    return drawing.SelectBitmap(nullptr);
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    BitmapDisplay display(new Bitmap(bitmap));
    const COLORREF pixel = GetPixel(display.DeviceContext(), x, y);
    display.SelectBitmap(nullptr)->ReleaseHandle();
    return pixel;
}

TEST_F(ClipboardTest, BitmapsAndMetafilePicturesGoOnAsCopies)
{
    std::unique_ptr<Bitmap> bitmap = MarkedBitmap();
    ASSERT_NE(clipboard->PutBitmap(*bitmap), 0);
    {
        MetafileObject picture(FilePath(), nullptr);
        picture.SetFrame(RECT{0, 0, 10, 10});
        picture.Lock();
        picture.Unlock();
        picture.SetLogicalRect(0.5f, 0, 2.5f, 1);
        ASSERT_TRUE(picture.CopyToClipboard(window->Handle()));
        EXPECT_NE(GetMetaFileBitsEx(picture.Metafile(), 0, nullptr), 0u) << "the object keeps its own picture";
    }
    ASSERT_TRUE(OpenClipboard(window->Handle()));
    HBITMAP onClipboard = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    HANDLE pictureBlock = GetClipboardData(CF_METAFILEPICT);
    CloseClipboard();
    ASSERT_NE(onClipboard, nullptr);
    EXPECT_NE(onClipboard, bitmap->Handle());
    EXPECT_EQ(PixelOf(onClipboard, 2, 3), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(bitmap->Handle(), 2, 3), RGB(0, 0, 0));
    ASSERT_NE(pictureBlock, nullptr);
    const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(pictureBlock));
    EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
    EXPECT_EQ(picture->xExt, 5081);
    EXPECT_EQ(picture->yExt, 2541);
    EXPECT_NE(GetMetaFileBitsEx(picture->hMF, 0, nullptr), 0u);
    GlobalUnlock(pictureBlock);
}

TEST_F(ClipboardTest, SnapshotRestoresBytesAndPicturesNeverHandleBytes)
{
    {
        ClipboardSnapshot empty(*clipboard, window.get());
        EXPECT_EQ(empty.Count(), 0);
        empty.Restore();
        EXPECT_EQ(CountClipboardFormats(), 0);
    }
    std::unique_ptr<Bitmap> bitmap = MarkedBitmap();
    ASSERT_NE(clipboard->PutText("kept"), 0);
    const uint8_t bytes[2] = {4, 2};
    ASSERT_NE(clipboard->PutBlock(bytes, 2, format), 0);
    ASSERT_NE(clipboard->PutBitmap(*bitmap), 0);
    ASSERT_TRUE(OpenClipboard(window->Handle()));
    HANDLE original = GetClipboardData(CF_BITMAP);
    CloseClipboard();

    ClipboardSnapshot snapshot(*clipboard, window.get());
    EXPECT_GE(snapshot.Count(), 3);
    clipboard->Empty();
    snapshot.Restore();
    snapshot.Free();

    std::unique_ptr<char[]> text(clipboard->GetText());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "kept");
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> block(clipboard->GetBlock(format, size));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[0], 4);
    EXPECT_EQ(block[1], 2);
    ASSERT_TRUE(OpenClipboard(window->Handle()));
    HBITMAP restored = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    CloseClipboard();
    ASSERT_NE(restored, nullptr);
    EXPECT_NE(restored, original);
    EXPECT_EQ(GetObjectType(restored), static_cast<DWORD>(OBJ_BITMAP)) << "freeing the snapshot keeps the restored copy";
    EXPECT_EQ(PixelOf(restored, 2, 3), RGB(0, 0, 0));
}

}  // namespace

namespace {

TEST_F(ClipboardTest, ClipboardTextForAFieldDropsTabsAndLineBreaksOnRequest)
{
    clipboard->PutText("a\tb\r\nc\n");
    struct Row {
        bool noTabs;
        bool noLineBreaks;
        const char* expected;
    };
    const Row rows[] = {
        {false, false, "a\tb\r\nc\n"}, {true, false, "ab\r\nc\n"}, {false, true, "a\tbc"}, {true, true, "abc"}};
    for (const Row& row : rows) {
        zString text;
        ReplaceControlChars(*clipboard, text, row.noTabs, row.noLineBreaks);
        EXPECT_STREQ(text.Text(), row.expected);
    }
}

} // namespace
