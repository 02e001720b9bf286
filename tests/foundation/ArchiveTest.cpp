#include "foundation/Archive.h"

#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "foundation/Storable.h"
#include "foundation/StoredString.h"
#include "foundation/zString.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A small storable class of the tests: two numbers and a shared partner object.
class TestPair : public zStorable {
public:
    int16_t first = 0;
    int32_t second = 0;
    zStorable* partner = nullptr;
    static int live;  // objects in existence

    TestPair() { ++live; }
    ~TestPair() override { --live; }

    const StorableClassRecord* ClassRecord() const override;
    void Serialize(Archive& archive) override
    {
        zStorable::Serialize(archive);
        if (archive.IsStoring())
            archive.WriteShort(first).WriteLong(second).WriteObject(partner);
        else
            archive.ReadShort(first).ReadLong(second).ReadObject(partner);
    }
};

int TestPair::live = 0;
zStorable* CreateTestPair() { return new TestPair; }
StorableClassRecord testPairRecord = {0, "TestPair", sizeof(TestPair), &CreateTestPair, nullptr};
StorableClassRegistrar testPairRegistrar(testPairRecord);
const StorableClassRecord* TestPair::ClassRecord() const { return &testPairRecord; }

Bytes NameBytes(const char* name)
{
    uint32_t length = static_cast<uint32_t>(std::strlen(name)) + 1;
    Bytes bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(length >> shift));
    for (uint32_t i = 0; i < length; ++i)
        bytes.push_back(static_cast<uint8_t>(name[i]));
    return bytes;
}

// Writes every typed value once.
void WriteTypedValues(Archive& a)
{
    a.WriteByte(0x12).WriteShort(0x1234).WriteLong(0x12345678).WriteInt(-2).WriteFloat(1.0f).WriteDouble(1.5);
    a.WritePoint(1, -1).WriteRect(2, 3, 4, 5).WriteColor(0xAA, 0xBB, 0xCC);
}

// The same values, little-endian, written down by hand.
const Bytes kTypedLittleEndian = {
    0x12,                                            // byte
    0x34, 0x12,                                      // short
    0x78, 0x56, 0x34, 0x12,                          // long
    0xFE, 0xFF, 0xFF, 0xFF,                          // int -2
    0x00, 0x00, 0x80, 0x3F,                          // float 1.0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,  // double 1.5
    0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,  // point (1, -1)
    0x02, 0, 0, 0, 0x03, 0, 0, 0, 0x04, 0, 0, 0, 0x05, 0, 0, 0,  // rect
    0xAA, 0xBB, 0xCC,                                // colour
};

// The same values as a machine of the other byte order writes them.
const Bytes kTypedBigEndian = {
    0x12,
    0x12, 0x34,
    0x12, 0x34, 0x56, 0x78,
    0xFF, 0xFF, 0xFF, 0xFE,
    0x3F, 0x80, 0x00, 0x00,
    0x3F, 0xF8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF,
    0, 0, 0, 0x02, 0, 0, 0, 0x03, 0, 0, 0, 0x04, 0, 0, 0, 0x05,
    0xAA, 0xBB, 0xCC,
};

void ExpectTypedValues(Archive& a)
{
    uint8_t byte = 0, red = 0, green = 0, blue = 0;
    int16_t shortValue = 0;
    int32_t longValue = 0, x = 0, y = 0, left = 0, top = 0, right = 0, bottom = 0;
    int intValue = 0;
    float floatValue = 0;
    double doubleValue = 0;
    a.ReadByte(byte).ReadShort(shortValue).ReadLong(longValue).ReadInt(intValue).ReadFloat(floatValue);
    a.ReadDouble(doubleValue).ReadPoint(x, y).ReadRect(left, top, right, bottom).ReadColor(red, green, blue);
    EXPECT_EQ(a.State(), 0u);
    EXPECT_EQ(byte, 0x12);
    EXPECT_EQ(shortValue, 0x1234);
    EXPECT_EQ(longValue, 0x12345678);
    EXPECT_EQ(intValue, -2);
    EXPECT_EQ(floatValue, 1.0f);
    EXPECT_EQ(doubleValue, 1.5);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(top, 3);
    EXPECT_EQ(right, 4);
    EXPECT_EQ(bottom, 5);
    EXPECT_EQ(red, 0xAA);
    EXPECT_EQ(green, 0xBB);
    EXPECT_EQ(blue, 0xCC);
}

std::string TempPath(const char* name)
{
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

TEST(ArchiveTyped, WritesExactLittleEndianBytes)
{
    EXPECT_EQ(WrittenBytes(WriteTypedValues), kTypedLittleEndian);
}

TEST(ArchiveTyped, RoundTripInMemoryAndFile)
{
    ReadStream in(kTypedLittleEndian);
    ExpectTypedValues(in);

    std::string path = TempPath("kivo_archive_roundtrip.bin");
    {
        FileStream out(path.c_str(), true);
        WriteTypedValues(out);
        EXPECT_EQ(out.State(), 0u);
    }
    FileStream file(path.c_str(), false);
    ExpectTypedValues(file);
    file.Close();
    std::remove(path.c_str());
}

TEST(ByteOrderMark, SwappedStreamsReadBackEqual)
{
    // Memory stream: mark 68 written big-endian reads as 0x4400.
    ReadStream in(Join({{0x00, 0x44}, kTypedBigEndian}));
    EXPECT_TRUE(SerializeByteOrderMark(in));
    EXPECT_TRUE(in->IsSwapping());
    ExpectTypedValues(in);

    // File stream with the document header's mark 34 (read as 0x2200) and a string.
    std::string path = TempPath("kivo_archive_swapped.bin");
    WriteFile(path, Join({{0x00, 0x22}, kTypedBigEndian, {0x00, 0x00, 0x00, 0x02, 'h', 'i'}}));
    FileStream file(path.c_str(), false);
    EXPECT_TRUE(SerializeByteOrderMark(file, 34));
    ExpectTypedValues(file);
    zString text;
    text.Serialize(file);
    EXPECT_STREQ(text.Text(), "hi");
    file.Close();
    std::remove(path.c_str());
}

TEST(ByteOrderMark, WritingAndRecognisingTheMark)
{
    EXPECT_EQ(WrittenBytes([](Archive& a) { SerializeByteOrderMark(a); }), (Bytes{68, 0}));
    EXPECT_EQ(WrittenBytes([](Archive& a) { SerializeByteOrderMark(a, 34); }), (Bytes{34, 0}));
    struct Row { Bytes bytes; bool accepted, swapping; };
    const Row rows[] = {{{68, 0}, true, false}, {{0, 68}, true, true}, {{69, 0}, false, false}, {{34, 0}, false, false}, {{68}, false, false}};
    for (const Row& row : rows) {
        ReadStream in(row.bytes);
        EXPECT_EQ(SerializeByteOrderMark(in), row.accepted);
        EXPECT_EQ(in->IsSwapping(), row.swapping);
    }
}

TEST(ArchiveSwap, SwapBytesReversesEachItemOnlyWhenSwapping)
{
    MemoryStream stream(100);
    uint8_t items[] = {1, 2, 3, 4, 5, 6, 7, 8};
    stream.SwapBytes(items, 4, 2);
    EXPECT_EQ(Bytes(items, items + 8), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    stream.SetSwapping(true);
    stream.SwapBytes(items, 4, 2);
    EXPECT_EQ(Bytes(items, items + 8), (Bytes{4, 3, 2, 1, 8, 7, 6, 5}));
    stream.SwapBytes(items, 1, 8);
    EXPECT_EQ(Bytes(items, items + 8), (Bytes{4, 3, 2, 1, 8, 7, 6, 5}));
}

TEST(ArchiveErrors, FirstFormatErrorIsKeptAndFailedReadsGiveZero)
{
    ReadStream in({1, 2, 3});
    in->SetFormatError(30);
    in->SetFormatError(32);
    EXPECT_EQ(in->FormatError(), 30u);
    int32_t value = 99;
    in->ReadLong(value);  // 4 bytes from a 3-byte stream
    EXPECT_EQ(in->State(), 2u);
    EXPECT_EQ(value, 0);
    uint8_t byte = 7;
    in->ReadByte(byte);  // nothing is read while the state is set
    EXPECT_EQ(byte, 0);
    EXPECT_EQ(in->Position(), 0u);
}

TEST(ObjectReferences, SameObjectTwiceIsStoredOnceAndReadAsOnePointer)
{
    TestPair shared;
    shared.first = 5;
    shared.second = 6;
    Bytes bytes = WrittenBytes([&](Archive& a) { a.WriteObject(&shared).WriteObject(&shared).WriteObject(nullptr); });
    Bytes expected = Join({{1, 0, 0, 0, 0}, NameBytes("TestPair"), {5, 0, 6, 0, 0, 0}, {2, 0xFF, 0xFF, 0xFF, 0xFF},
                           {0, 0, 0, 0, 0}, {2, 0xFF, 0xFF, 0xFF, 0xFF}});
    EXPECT_EQ(bytes, expected);

    ReadStream in(bytes);
    zStorable* a = nullptr;
    zStorable* b = nullptr;
    zStorable* c = &shared;
    in->ReadObject(a).ReadObject(b).ReadObject(c);
    EXPECT_EQ(in->State(), 0u);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(c, nullptr);
    auto* pair = dynamic_cast<TestPair*>(a);
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pair->first, 5);
    EXPECT_EQ(pair->second, 6);
    EXPECT_EQ(pair->partner, nullptr);
    delete a;
}

TEST(ObjectReferences, NestedGraphKeepsItsSharing)
{
    TestPair left, right;
    zString name("shared");
    left.partner = &name;
    right.partner = &name;
    Bytes bytes = WrittenBytes([&](Archive& a) { a.WriteObject(&left).WriteObject(&right); });
    ReadStream in(bytes);
    zStorable* first = nullptr;
    zStorable* second = nullptr;
    in->ReadObject(first).ReadObject(second);
    ASSERT_EQ(in->State(), 0u);
    auto* l = dynamic_cast<TestPair*>(first);
    auto* r = dynamic_cast<TestPair*>(second);
    ASSERT_TRUE(l && r);
    ASSERT_NE(l->partner, nullptr);
    EXPECT_EQ(l->partner, r->partner);
    EXPECT_TRUE(*static_cast<zString*>(l->partner) == "shared");
    EXPECT_EQ(in->ObjectCount(), 3u);
    delete l->partner;
    delete l;
    delete r;
}

TEST(ObjectReferences, CorruptReferencesFailWithoutObjects)
{
    struct Row { const char* what; Bytes bytes; uint32_t state; };
    const Row rows[] = {
        {"unknown class", Join({{1, 0, 0, 0, 0}, NameBytes("NoSuchClass"), {1, 2, 3}}), Archive::StateUnknownClass},
        {"name differs in case", Join({{1, 0, 0, 0, 0}, NameBytes("zstring")}), Archive::StateUnknownClass},
        {"new object beyond the next index", Join({{1, 5, 0, 0, 0}, NameBytes("zString"), {0, 0, 0, 0}}), Archive::StateBadReference},
        {"huge new index", Join({{1, 0xFF, 0xFF, 0xFF, 0x7F}, NameBytes("zString")}), Archive::StateBadReference},
        {"stored object never read", {0, 3, 0, 0, 0}, Archive::StateBadReference},
        {"unknown tag", {7, 0, 0, 0, 0}, Archive::StateBadReference},
        {"huge class-name length", {1, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'z'}, Archive::StateIoFailure},
        {"zero class-name length", {1, 0, 0, 0, 0, 0, 0, 0, 0}, Archive::StateUnknownClass},
        {"truncated class name", {1, 0, 0, 0, 0, 8, 0, 0, 0, 'z', 'S'}, Archive::StateIoFailure},
        {"truncated index", {1, 0, 0}, Archive::StateIoFailure},
    };
    for (const Row& row : rows) {
        ReadStream in(row.bytes);
        zStorable* object = nullptr;
        in->ReadObject(object);
        EXPECT_EQ(object, nullptr) << row.what;
        EXPECT_EQ(in->State(), row.state) << row.what;
    }
}

// An object whose fields fail to read is freed and yields no object.
TEST(ObjectReferences, TruncatedObjectFieldsSetTheState)
{
    TestPair pair;
    Bytes bytes = WrittenBytes([&](Archive& a) { a.WriteObject(&pair); });
    bytes.resize(bytes.size() - 3);
    ReadStream in(bytes);
    zStorable* object = nullptr;
    const int liveBefore = TestPair::live;
    in->ReadObject(object);
    EXPECT_EQ(in->State(), 2u);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(TestPair::live, liveBefore);
}

TEST(StorableRegistry, FindsRegisteredClassesByExactName)
{
    const StorableClassRecord* string = StorableRegistry::Find("zString");
    ASSERT_NE(string, nullptr);
    EXPECT_EQ(string->objectSize, sizeof(zString));
    EXPECT_NE(StorableRegistry::Find("zStorable"), nullptr);
    EXPECT_EQ(StorableRegistry::Find("ZSTRING"), nullptr);
    EXPECT_EQ(StorableRegistry::Find(nullptr), nullptr);
    zStorable* made = string->create();
    EXPECT_EQ(made->ClassRecord(), string);
    delete made;
    // Ids count from 1 in order of registration; the list is linked at its head.
    uint32_t previous = 0xFFFFFFFF;
    for (const StorableClassRecord* record = StorableRegistry::Head(); record; record = record->next) {
        EXPECT_LT(record->id, previous);
        previous = record->id;
    }
    EXPECT_EQ(previous, 1u);
}

TEST(StoredString, StoredFormAndRoundTrip)
{
    EXPECT_EQ(WrittenBytes([](Archive& a) { StoreString(a, zString("hi")); }),
              (Bytes{3, 5, 0, 2, 0, 0, 0, 'h', 'i', 0}));
    EXPECT_EQ(WrittenBytes([](Archive& a) { StoreString(a, "", 42); }), (Bytes{3, 5, 0, 0, 0, 0, 0, 42}));
    EXPECT_EQ(WrittenBytes([](Archive& a) {
                  a.SetFormatError(22);
                  StoreString(a, "x");
              }),
              Bytes());
    ReadStream in({3, 5, 0, 2, 0, 0, 0, 'h', 'i', 42, 2, 6, 0xB1, 0, 0, 0, 0, 0});
    zString first("old"), second("old");
    LoadString(in, first);
    LoadString(in, second);
    EXPECT_EQ(in->State(), 0u);
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_STREQ(first.Text(), "hi");
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(in->FileVersion(), 0x305E0u);  // the first version record names the stream's version
}

// Texts longer than the string's room and than one gathered write take the same stored form.
TEST(StoredString, LongTextsRoundTrip)
{
    for (const uint32_t length : {15u, 16u, 248u, 249u, 300u}) {
        const std::string text(length, 'q');
        const Bytes bytes = WrittenBytes([&text](Archive& a) { StoreString(a, text.c_str(), 7); });
        ASSERT_EQ(bytes.size(), length + 8u) << length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 7), (Bytes{3, 5, 0, uint8_t(length), uint8_t(length >> 8), 0, 0}));
        EXPECT_EQ(bytes.back(), 7u);
        ReadStream in(bytes);
        zString loaded("old");
        LoadString(in, loaded);
        EXPECT_EQ(in->State(), 0u) << length;
        EXPECT_EQ(loaded.Length(), length);
        EXPECT_EQ(std::string(loaded.Text()), text);
    }
}

TEST(StoredString, DamagedRecordsEmptyTheText)
{
    struct Row { const char* what; Bytes bytes; uint32_t state, formatError; };
    const Row rows[] = {
        {"bad version", {1, 0, 0, 1, 0, 0, 0, 'x', 0}, 0, 32},
        {"huge length", {3, 5, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'x', 0}, 2, 0},
        {"missing flag byte", {3, 5, 0, 1, 0, 0, 0, 'x'}, 2, 0},
        {"truncated characters", {3, 5, 0, 5, 0, 0, 0, 'x'}, 2, 0},
    };
    for (const Row& row : rows) {
        ReadStream in(row.bytes);
        zString text("old");
        LoadString(in, text);
        EXPECT_TRUE(text.IsEmpty()) << row.what;
        EXPECT_EQ(in->State(), row.state) << row.what;
        EXPECT_EQ(in->FormatError(), row.formatError) << row.what;
    }
}

TEST(FileStream, MissingFileAndShortReadSetStateTwo)
{
    FileStream missing(TempPath("kivo_no_such_dir\\none.bin").c_str(), false);
    EXPECT_EQ(missing.State(), 2u);
    EXPECT_FALSE(missing.IsOpen());

    std::string path = TempPath("kivo_archive_short.bin");
    WriteFile(path, {1, 2, 3});
    FileStream file(path.c_str(), false);
    EXPECT_EQ(file.BytesLeft(), 3u);
    int16_t value = 0;
    file.ReadShort(value);
    EXPECT_EQ(value, 0x0201);
    EXPECT_EQ(file.Tell(), 2);
    int32_t longValue = 5;
    file.ReadLong(longValue);
    EXPECT_EQ(file.State(), 2u);
    EXPECT_EQ(longValue, 0);
    file.Close();
    std::remove(path.c_str());
}

// A file longer than the read buffer: places, seeks and the bytes left follow what was read, and a read
// past the end fails.
TEST(FileStreamReading, PlacesAndBytesLeftAcrossTheReadBuffer)
{
    const std::string path = TempPath("kivo_archive_long.bin");
    Bytes bytes(200000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i % 251);
    WriteFile(path, bytes);
    FileStream file(path.c_str(), false);
    Bytes part(70000);
    file.ReadBytes(part.data(), 3);
    file.ReadBytes(part.data(), static_cast<uint32_t>(part.size()));
    EXPECT_EQ(part[0], 3);
    EXPECT_EQ(file.Tell(), 70003);
    EXPECT_EQ(file.BytesLeft(), 200000u - 70003u);
    file.Seek(-70001, SEEK_CUR);
    uint8_t byte = 0;
    file.ReadByte(byte);
    EXPECT_EQ(byte, 2);
    file.Seek(-1, SEEK_END);
    file.ReadByte(byte);
    EXPECT_EQ(byte, (199999 % 251));
    EXPECT_EQ(file.BytesLeft(), 0u);
    file.ReadByte(byte);
    EXPECT_NE(file.State(), 0u);
    file.Close();
    std::remove(path.c_str());
}

}  // namespace
