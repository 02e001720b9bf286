#include "widgets/BmpFile.h"

#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "framework/draw/BitmapDisplay.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

// Pictures written to a scratch file of the system's temporary directory.
class BmpFiles : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MakeTempFilePath(scratch)); }
    void TearDown() override { scratch.Delete(); }

    static std::string Read(const FilePath& path)
    {
        std::ifstream in(path.FullPath().Text(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    FilePath scratch;
};

// A 2 x 1 bitmap of 8 bits per pixel: 40-byte header, 256 colours of 4 bytes, one 4-byte row.
TEST_F(BmpFiles, DibsAreSavedWithTheBmpFileHeader)
{
    const SIZE_T blockSize = 40 + 256 * 4 + 4;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize);
    ASSERT_NE(block, nullptr);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    header->biSize = 40;
    header->biWidth = 2;
    header->biHeight = 1;
    header->biPlanes = 1;
    header->biBitCount = 8;
    reinterpret_cast<uint8_t*>(header)[40 + 1024] = 0xAB;
    GlobalUnlock(block);

    FilePath& file = scratch;
    EXPECT_TRUE(SaveDibAsBmp(file, block));
    std::string bytes = Read(file);
    ASSERT_EQ(bytes.size(), blockSize + 14);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    auto le32 = [&](size_t at) {
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    EXPECT_EQ(le32(2), blockSize + 14);
    EXPECT_EQ(le32(6), 0u);
    EXPECT_EQ(le32(10), 14u + 40u + 1024u);
    EXPECT_EQ(uint8_t(bytes[le32(10)]), 0xAB);
    GlobalFree(block);
    EXPECT_FALSE(SaveDibAsBmp(file, nullptr));
}

TEST_F(BmpFiles, BitmapsAreSavedAsDeviceIndependentBitmaps)
{
    BitmapDisplay picture(10, 10);
    RECT all = {0, 0, 10, 10};
    HBRUSH brush = CreateSolidBrush(RGB(0x11, 0x22, 0x33));
    FillRect(picture.DeviceContext(), &all, brush);
    DeleteObject(brush);

    FilePath& file = scratch;
    ASSERT_TRUE(SaveBitmapAsBmp(picture, file));
    std::string bytes = Read(file);
    ASSERT_GE(bytes.size(), 54u);
    auto le16 = [&](size_t at) { return unsigned(uint8_t(bytes[at])) | unsigned(uint8_t(bytes[at + 1])) << 8; };
    auto le32 = [&](size_t at) { return le16(at) | le16(at + 2) << 16; };
    unsigned bitCount = le16(14 + 14);
    ASSERT_GE(bitCount, 24u);
    // No colour table above 8 bits: the pixels follow the two headers; rows run bottom-up in BGR order.
    EXPECT_EQ(le32(10), 54u);
    EXPECT_EQ(le32(14 + 4), 10u);
    EXPECT_EQ(le32(14 + 8), 10u);
    EXPECT_EQ(le32(2), bytes.size());
    EXPECT_EQ(uint8_t(bytes[54]), 0x33);
    EXPECT_EQ(uint8_t(bytes[55]), 0x22);
    EXPECT_EQ(uint8_t(bytes[56]), 0x11);
}

TEST(DibColourTable, EntriesBySizeOfHeaderAndBitCount)
{
    struct Row { bool core; unsigned bitCount; unsigned used; uint32_t expected; };
    const Row rows[] = {
        {false, 1, 0, 8},  {false, 4, 0, 64}, {false, 8, 0, 1024}, {false, 24, 0, 0}, {false, 8, 16, 64},
        {false, 32, 0, 0}, {true, 1, 0, 6},   {true, 8, 0, 768},   {true, 24, 0, 0},
    };
    for (const Row& row : rows) {
        BITMAPINFOHEADER info{};
        BITMAPCOREHEADER core{};
        const void* header = &info;
        if (row.core) {
            core.bcSize = sizeof core;
            core.bcBitCount = static_cast<WORD>(row.bitCount);
            header = &core;
        } else {
            info.biSize = sizeof info;
            info.biBitCount = static_cast<WORD>(row.bitCount);
            info.biClrUsed = row.used;
        }
        EXPECT_EQ(BitmapDisplay::DibColourTableBytes(header), row.expected) << row.core << " " << row.bitCount;
    }
}

} // namespace
