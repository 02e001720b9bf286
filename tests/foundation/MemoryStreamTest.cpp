#include "foundation/MemoryStream.h"

#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MemoryStream, ReadsWithinTheBlockOnly)
{
    uint8_t block[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    MemoryStream stream(block, 10, false);
    stream.Seek(8, 0);
    EXPECT_EQ(stream.Tell(), 8);
    EXPECT_EQ(stream.BytesLeft(), 2u);
    int32_t value = 0;
    stream.ReadLong(value);
    EXPECT_EQ(stream.State(), 2u);
    EXPECT_EQ(stream.Tell(), 8);  // a failed read does not move
}

TEST(MemoryStream, SeekOriginsAndTargetsPastTheEnd)
{
    uint8_t block[10] = {};
    struct Row { long start; long offset; int origin; uint32_t state; long position; };
    const Row rows[] = {
        {0, 4, 0, 0, 4},  {3, 4, 1, 0, 7},  {3, -3, 1, 0, 0}, {0, 0, 2, 0, 9},   // from the end: size - offset - 1
        {0, 3, 2, 0, 6},  {2, 5, 7, 0, 5},  // any other origin counts from the start
        {2, 10, 0, 1, 2}, {2, 9, 1, 1, 2}, {2, -1, 2, 1, 2}, {2, -1, 0, 1, 2},
    };
    for (const Row& row : rows) {
        MemoryStream stream(block, 10, false);
        stream.Seek(row.start, 0);
        stream.Seek(row.offset, row.origin);
        EXPECT_EQ(stream.State(), row.state) << row.offset << " from " << row.origin;
        EXPECT_EQ(stream.Tell(), row.position) << row.offset << " from " << row.origin;
    }
}

TEST(MemoryStream, GrowsInMultiplesOfTheStep)
{
    MemoryStream bytewise(100);
    std::vector<uint32_t> sizes;
    for (int i = 0; i < 150; ++i) {
        bytewise.WriteByte(static_cast<uint8_t>(i));
        if (sizes.empty() || sizes.back() != bytewise.Size())
            sizes.push_back(bytewise.Size());
    }
    EXPECT_EQ(sizes, (std::vector<uint32_t>{100, 200}));
    EXPECT_EQ(bytewise.Position(), 150u);
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(bytewise.Data()[i], static_cast<uint8_t>(i));

    MemoryStream once(100);
    std::vector<uint8_t> block(150, 0x5A);
    once.WriteBytes(block.data(), 150);
    EXPECT_EQ(once.Size(), 200u);
    EXPECT_EQ(once.State(), 0u);
}

TEST(MemoryStream, BorrowedBlockNeverGrows)
{
    uint8_t block[3] = {};
    MemoryStream stream(block, 3, true);
    stream.WriteShort(0x0102);
    EXPECT_EQ(stream.State(), 0u);
    stream.WriteShort(0x0304);
    EXPECT_EQ(stream.State(), 2u);
    EXPECT_EQ(Bytes(block, block + 3), (Bytes{2, 1, 0}));
    stream.SetState(0);
    stream.WriteByte(9);
    EXPECT_EQ(block[2], 9);
}

TEST(MemoryStream, WriterHandsOverItsBlock)
{
    uint8_t* block = nullptr;
    uint32_t length = 0;
    {
        MemoryStream stream(100);
        stream.WriteLong(0x01020304).WriteByte(5);
        length = stream.Position();
        block = stream.ReleaseBuffer();
        EXPECT_FALSE(stream.OwnsBuffer());
    }
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(Bytes(block, block + length), (Bytes{4, 3, 2, 1, 5}));
    delete[] block;
}

TEST(MemoryStream, EmptyAndNullBlocks)
{
    MemoryStream none(nullptr, 50, false);
    EXPECT_EQ(none.Size(), 0u);
    uint8_t byte = 1;
    none.ReadByte(byte);
    EXPECT_EQ(none.State(), 2u);
    EXPECT_EQ(byte, 0);

    MemoryStream stepless(0);  // a zero step still grows to what is needed
    stepless.WriteLong(7);
    EXPECT_EQ(stepless.State(), 0u);
    EXPECT_EQ(stepless.Size(), 4u);
}

}  // namespace
