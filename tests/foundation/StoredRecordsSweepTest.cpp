// The foundation's stored records read back equal from streams of either byte order, and every truncated or
// damaged copy of them ends in an error (never a crash, a hang or an invented success).

#include "foundation/Archive.h"
#include "foundation/FilePath.h"
#include "foundation/FontRecord.h"
#include "foundation/LinkedList.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormat.h"
#include "foundation/PointerRing.h"
#include "foundation/PreferenceRecord.h"
#include "foundation/StoredNameList.h"
#include "foundation/zString.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

// Frees the distinct objects that a list or ring read back.
template <typename Walk>
void FreeObjects(Walk next)
{
    std::set<void*> seen;
    while (void* item = next())
        seen.insert(item);
    for (void* item : seen)
        delete static_cast<zStorable*>(item);
}

// One stored record: how the original is written, and how a copy is read from a stream and written again
// (so that two records compare by their stored bytes).
struct RecordCase {
    const char* name;
    std::function<void(Archive&)> writeOriginal;
    std::function<Bytes(Archive&)> readAndRewrite;
    Bytes otherByteOrder;  // the original as a machine of the other byte order stores it, after mark 68
};

FontRecord SampleFont()
{
    FontRecord font;
    font.pointSize = 12;
    font.bold = 1;
    font.face = "Arial";
    return font;
}

NumericFormat& SampleFormat()
{
    static NumericFormat format;
    format.axisFormat = 0;
    format.unitsKind = NumericFormat::UnitsTextBefore;
    format.commas = 1;
    format.spare = 0;
    format.expValDigits = 2;
    format.probDigits = 4;
    format.axisDigits = 1;
    format.chopOff = 3;
    format.unitsText = "kg";
    return format;
}

std::vector<RecordCase> Cases()
{
    return {
        {"zString object",
         [](Archive& a) {
             zString text("abc");
             a.WriteObject(&text);
         },
         [](Archive& in) {
             zStorable* object = nullptr;
             in.ReadObject(object);
             Bytes bytes = WrittenBytes([&](Archive& a) { a.WriteObject(object); });
             delete object;
             return bytes;
         },
         {1, 0, 0, 0, 0, 0, 0, 0, 8, 'z', 'S', 't', 'r', 'i', 'n', 'g', 0, 0, 0, 0, 3, 'a', 'b', 'c'}},
        {"NameList",
         [](Archive& a) {
             NameList list;
             list.AddText("a");
             list.AddText("bc");
             list.Serialize(a);
         },
         [](Archive& in) {
             NameList list(9, false);
             list.Serialize(in);
             list.SetOwnsItems(true);
             return WrittenBytes([&](Archive& a) { list.Serialize(a); });
         },
         {3, 5, 0, 0, 4, 1, 0, 2, 0, 213, 0, 0, 0, 1, 'a', 0, 0, 0, 2, 'b', 'c'}},
        {"StoredNameList",
         [](Archive& a) {
             StoredNameList list(2, true);
             list.AddText("hi");
             list.Serialize(a);
         },
         [](Archive& in) {
             StoredNameList list;
             list.Serialize(in);
             return WrittenBytes([&](Archive& a) { list.Serialize(a); });
         },
         {3, 5, 0, 0, 2, 1, 0, 1, 0, 213, 3, 5, 0, 0, 0, 0, 2, 'h', 'i', 0}},
        {"FontRecord",
         [](Archive& a) { SampleFont().Serialize(a); },
         [](Archive& in) {
             FontRecord font;
             font.face = "other";
             font.Serialize(in);
             return WrittenBytes([&](Archive& a) { font.Serialize(a); });
         },
         {3, 5, 0, 0, 12, 0, 1, 0, 0, 202, 3, 5, 0, 0, 0, 0, 5, 'A', 'r', 'i', 'a', 'l', 0}},
        {"NumericFormat with its version",
         [](Archive& a) { SerializeWithVersion(SampleFormat(), a); },
         [](Archive& in) {
             NumericFormat format;
             SerializeWithVersion(format, in);
             return WrittenBytes([&](Archive& a) { SerializeWithVersion(format, a); });
         },
         {3, 5, 0, 0, 0, 2, 1, 0, 2, 4, 1, 3, 3, 5, 0, 0, 0, 0, 2, 'k', 'g', 0}},
        {"FilePath",
         [](Archive& a) { FilePath("C:\\a\\b.tre").Serialize(a); },
         [](Archive& in) {
             FilePath path("D:\\", "x");
             path.Serialize(in);
             return WrittenBytes([&](Archive& a) { path.Serialize(a); });
         },
         {3, 5, 0, 3, 5, 0, 0, 0, 0, 10, 'C', ':', '\\', 'a', '\\', 'b', '.', 't', 'r', 'e', 0, 0, 0, 0, 0, 0, 0}},
        {"LinkedList of shared objects",
         [](Archive& a) {
             zString x("x");
             LinkedList list;
             list.Append(&x);
             list.Append(&x);
             list.Serialize(a);
         },
         [](Archive& in) {
             LinkedList list;
             list.Serialize(in);
             Bytes bytes = WrittenBytes([&](Archive& a) { list.Serialize(a); });
             ListIterator walk(list);
             FreeObjects([&] { return walk.Next(); });
             return bytes;
         },
         {0, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 8, 'z', 'S', 't', 'r', 'i', 'n', 'g', 0, 0, 0, 0, 1, 'x',
          0, 0, 0, 0, 0}},
        {"PointerRing",
         [](Archive& a) {
             zString one("1"), two("22");
             PointerRing ring;
             ring.PushBack(&one);
             ring.PushBack(&two);
             ring.Serialize(a);
         },
         [](Archive& in) {
             PointerRing ring;
             ring.Serialize(in);
             Bytes bytes = WrittenBytes([&](Archive& a) { ring.Serialize(a); });
             FreeObjects([&] { return ring.PopFront(); });
             return bytes;
         },
         {0, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 8, 'z', 'S', 't', 'r', 'i', 'n', 'g', 0, 0, 0, 0, 1, '1',
          1, 0, 0, 0, 1, 0, 0, 0, 8, 'z', 'S', 't', 'r', 'i', 'n', 'g', 0, 0, 0, 0, 2, '2', '2'}},
    };
}

Bytes Prefix(const Bytes& bytes, size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); }

TEST(StoredRecords, ReadBackEqualInBothByteOrders)
{
    for (const RecordCase& record : Cases()) {
        Bytes native = WrittenBytes(record.writeOriginal);
        ReadStream same(native);
        EXPECT_EQ(record.readAndRewrite(same), native) << record.name;
        EXPECT_FALSE(same->Failed()) << record.name;

        ReadStream swapped(Join({{0x00, 0x44}, record.otherByteOrder}));
        ASSERT_TRUE(SerializeByteOrderMark(swapped)) << record.name;
        ASSERT_TRUE(swapped->IsSwapping()) << record.name;
        EXPECT_EQ(record.readAndRewrite(swapped), native) << record.name;
        EXPECT_FALSE(swapped->Failed()) << record.name;
        EXPECT_EQ(swapped->BytesLeft(), 0u) << record.name;
    }
}

TEST(StoredRecords, EveryTruncatedCopyFails)
{
    for (const RecordCase& record : Cases()) {
        Bytes native = WrittenBytes(record.writeOriginal);
        for (size_t length = 0; length < native.size(); ++length) {
            ReadStream in(Prefix(native, length));
            record.readAndRewrite(in);
            EXPECT_TRUE(in->Failed()) << record.name << " cut to " << length << " of " << native.size();
        }
    }
}

TEST(StoredRecords, DamagedBytesNeverCrashOrHang)
{
    const uint8_t replacements[] = {0x00, 0x01, 0x7F, 0x80, 0xB5, 0xFF};
    for (const RecordCase& record : Cases()) {
        Bytes native = WrittenBytes(record.writeOriginal);
        for (size_t at = 0; at < native.size(); ++at) {
            for (uint8_t value : replacements) {
                Bytes damaged = native;
                damaged[at] = value;
                ReadStream in(damaged);
                record.readAndRewrite(in);
                // Whatever was read, the reader never runs past the bytes it was given.
                EXPECT_LE(in->Position(), damaged.size()) << record.name << " byte " << at;
            }
        }
    }
}

}  // namespace
