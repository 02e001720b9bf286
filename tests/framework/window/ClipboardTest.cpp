#include "app/ClipboardReader.h"
#include "app/ClipboardWriter.h"
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

}  // namespace
