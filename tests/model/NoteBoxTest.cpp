#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/NoteBoxList.h"
#include "tests/model/NoteBoxSupport.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

namespace {

Bytes VersionBytes(int major, int minor, int build)
{
    VersionRecord version(major, minor, build);
    return WrittenBytes([&](Archive& archive) { version.Serialize(archive); });
}

Bytes FloatBytes(std::initializer_list<float> values)
{
    return WrittenBytes([&](Archive& archive) {
        for (float value : values)
            archive.WriteFloat(value);
    });
}

Bytes FontBytes(FontRecord font)
{
    return WrittenBytes([&](Archive& archive) { font.Serialize(archive); });
}

Bytes StringBytes(const char* text)
{
    return WrittenBytes([&](Archive& archive) { StoreString(archive, text); });
}

TEST(NoteBoxGeometry, TextRectFrameAndInterior)
{
    NoteBox note = MakeNote(1.0f, 1.0f, 2.0f, 1.5f);
    ExpectRect(note.GetTextRect(), 1.0f, 1.0f, 2.0f, 1.5f);
    ExpectRect(note.frame, 0.96f, 0.96f, 2.04f, 1.54f);
    ExpectRect(note.GetInteriorRect(), 1.04f, 1.04f, 1.96f, 1.46f);
    note.Offset(0.5f, -0.25f);
    ExpectRect(note.frame, 1.46f, 0.71f, 2.54f, 1.29f);
}

TEST(NoteBoxGeometry, WindowNoteTakesTheWindowsNoteFontAndOwner)
{
    TreeDocument document;
    document.NoteFont.face = "Arial";
    document.NoteFont.pointSize = 9;
    NoteBox note(LogicalRect{1.0f, 1.0f, 2.0f, 2.0f}, &document);
    EXPECT_EQ(note.ownerTree, &document);
    EXPECT_EQ(note.font, document.NoteFont);
    ExpectRect(note.frame, 0.96f, 0.96f, 2.04f, 2.04f);
    NoteBox loose(LogicalRect{0.0f, 0.0f, 1.0f, 1.0f}, nullptr);
    EXPECT_EQ(loose.font, DefaultNoteFont);
    EXPECT_EQ(loose.ownerTree, nullptr);
}

struct HitCase {
    float x;
    float y;
    int hit;
    int column;
    int row;
};

TEST(NoteBoxGeometry, HitTestAndHandles)
{
    // Text rectangle (1, 1, 2, 2): frame (0.96 .. 2.04), interior (1.04 .. 1.96).
    const NoteBox note = MakeNote(1.0f, 1.0f, 2.0f, 2.0f);
    const HitCase cases[] = {
        {0.5f, 1.5f, 0, 22, 22},     // outside
        {1.01f, 1.5f, 22, 22, 22},   // 0.05 inside the frame's left edge, half-way down
        {1.0f, 1.0f, 23, 0, 0},      // top-left corner of the text rectangle
        {2.0f, 1.0f, 23, 1, 0},      // top right
        {2.0f, 2.0f, 23, 1, 1},      // bottom right
        {1.0f, 2.0f, 23, 0, 1},      // bottom left
        {1.03f, 1.03f, 23, 0, 0},    // inside the 0.031 reach after the corner
        {1.035f, 1.035f, 22, 22, 22},// just beyond it, still in the border zone
        {0.97f, 0.97f, 23, 0, 0},    // 0.03 before the corner
        {1.5f, 1.5f, 24, 22, 22},    // centre
        {2.04f, 1.5f, 22, 22, 22},   // on the frame's right edge
        {1.5f, 2.05f, 0, 22, 22},    // below the frame
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(note.HitTest(c.x, c.y), c.hit);
        const NoteBoxHandle handle = note.HandleAt(c.x, c.y);
        EXPECT_EQ(handle.column, c.column);
        EXPECT_EQ(handle.row, c.row);
    }
}

TEST(NoteBoxStoredForm, WritesFieldsInOrderWithEndMarker)
{
    NoteBox note = MakeNote(1.0f, 1.0f, 2.0f, 1.5f);
    note.text = "Remember";
    const Bytes expected = Join({VersionBytes(3, 5, 0), FloatBytes({0.96f, 0.96f, 2.04f, 1.54f}),
                                 FontBytes(note.font), StringBytes("Remember"), Bytes{138, 0}});
    VersionRecord current;
    Bytes written = NoteBytes(note);
    ASSERT_EQ(written.size(), expected.size());
    // The version record is the current one; the rest is compared byte by byte.
    EXPECT_EQ(written[0], current.Major());
    EXPECT_EQ(written[1], current.Minor());
    EXPECT_TRUE(std::equal(written.begin() + 3, written.end(), expected.begin() + 3));
}

TEST(NoteBoxStoredForm, RoundTrip)
{
    {
        NoteBox note = MakeNote(0.5f, 0.25f, 3.0f, 1.75f);
        note.text = "A note\r\nwith two lines";
        note.font.face = "Arial";
        note.font.bold = 1;
        const Bytes bytes = NoteBytes(note);
        ReadStream stream(bytes);
        NoteBox loaded;
        loaded.Serialize(stream);
        EXPECT_FALSE(stream->Failed());
        EXPECT_EQ(stream->Position(), bytes.size());
        EXPECT_STREQ(loaded.text.Text(), note.text.Text());
        EXPECT_EQ(loaded.font, note.font);
        ExpectRect(loaded.frame, note.frame.left, note.frame.top, note.frame.right, note.frame.bottom);
        EXPECT_EQ(loaded.ownerTree, nullptr);
    }
}

struct MarkerCase {
    const char* name;
    Bytes version;
    Bytes marker;
    uint32_t formatError;
};

TEST(NoteBoxStoredForm, EndMarkerGatedByVersion)
{
    const MarkerCase cases[] = {
        {"2.5 without marker", VersionBytes(2, 5, 0), Bytes{}, 0},
        {"2.6 with marker", VersionBytes(2, 6, 0), Bytes{138, 0}, 0},
        {"2.6 with a wrong marker", VersionBytes(2, 6, 0), Bytes{139, 0}, 34},
        {"3.5 without its marker", VersionBytes(3, 5, 0), Bytes{}, 34},
    };
    for (const MarkerCase& c : cases) {
        SCOPED_TRACE(c.name);
        FontRecord font;
        // The font record of the older form carries its own version: written at the note's version.
        const Bytes fontBytes = WrittenBytes([&](Archive& archive) { font.Serialize(archive); });
        ReadStream stream(Join({c.version, FloatBytes({1, 2, 3, 4}), fontBytes, StringBytes("old"), c.marker}));
        NoteBox loaded;
        loaded.Serialize(stream);
        EXPECT_EQ(stream->FormatError(), c.formatError);
        if (c.formatError == 0) {
            EXPECT_STREQ(loaded.text.Text(), "old");
            ExpectRect(loaded.frame, 1, 2, 3, 4);
        }
    }
}

TEST(NoteBoxStoredForm, NothingMovesWhileAFormatErrorIsSet)
{
    NoteBox note = MakeNote(1, 1, 2, 2);
    const Bytes bytes = WrittenBytes([&](Archive& archive) {
        archive.SetFormatError(31);
        note.Serialize(archive);
    });
    EXPECT_TRUE(bytes.empty());
}

TEST(NoteBoxStoredForm, ListStoresAndLoadsItsNotes)
{
    NoteBoxList list;
    for (const char* text : {"first", "second", "third"}) {
        NoteBox* note = new NoteBox(MakeNote(1, 1, 2, 2));
        note->text = text;
        list.Add(note);
    }
    const Bytes bytes = WrittenBytes([&](Archive& archive) { list.Serialize(archive); });
    ReadStream stream(bytes);
    NoteBoxList loaded;
    loaded.Serialize(stream);
    ASSERT_FALSE(stream->Failed());
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_STREQ(loaded.At(2)->text.Text(), "third");
    NoteBoxList copy;
    copy.Copy(loaded, true);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_NE(copy.At(0), loaded.At(0));
    EXPECT_STREQ(copy.At(0)->text.Text(), "first");
}

TEST(NoteBoxFuzz, TruncatedAndMutatedRecordsFailCleanly)
{
    NoteBox note = MakeNote(1, 1, 2, 2);
    note.text = "Some text of a note";
    const Bytes good = NoteBytes(note);
    for (size_t length = 0; length < good.size(); ++length) {
        ReadStream stream(Bytes(good.begin(), good.begin() + static_cast<long>(length)));
        NoteBox loaded;
        loaded.Serialize(stream);
        EXPECT_TRUE(stream->Failed()) << "length " << length;
    }
    std::mt19937 random(1234);
    for (int trial = 0; trial < 4000; ++trial) {
        Bytes bytes = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        ReadStream stream(bytes);
        NoteBox loaded;
        loaded.Serialize(stream);
        EXPECT_LE(stream->Position(), bytes.size());
    }
}

}  // namespace
