#include "foundation/FilePath.h"

#include "foundation/Archive.h"
#include "foundation/FileHelpers.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const zString& text) { return text.Text(); }

TEST(FilePathParts, SetFullPathSplitsAtTheLastBackslash)
{
    struct Row { const char* path; const char* directory; const char* name; };
    const Row rows[] = {
        {"C:\\a\\b.tre", "C:\\a\\", "b.tre"}, {"b.tre", "", "b.tre"}, {"C:\\", "C:\\", ""},
        {"\\\\server\\share\\x", "\\\\server\\share\\", "x"}, {"", "", ""},
    };
    for (const Row& row : rows) {
        FilePath path(row.path);
        EXPECT_EQ(Text(path.Directory()), row.directory) << row.path;
        EXPECT_EQ(Text(path.Name()), row.name) << row.path;
        EXPECT_EQ(Text(path.FullPath()), row.path);
        EXPECT_EQ(path.IsEmpty(), *row.path == 0);
    }
}

TEST(FilePathParts, ExtensionsComeOnlyFromTheName)
{
    struct Row { const char* path; const char* extension; const char* baseName; };
    const Row rows[] = {
        {"x.y\\name", "", "name"}, {"C:\\d\\a.b.c", "c", "a.b"}, {"file.", "", "file"}, {"noext", "", "noext"},
    };
    for (const Row& row : rows) {
        FilePath path(row.path);
        zString extension("old"), baseName("old");
        path.GetExtension(extension);
        path.GetBaseName(baseName);
        EXPECT_EQ(Text(extension), row.extension) << row.path;
        EXPECT_EQ(Text(baseName), row.baseName) << row.path;
    }
    EXPECT_EQ(FindExtensionDot("x.y\\name"), nullptr);
}

TEST(FilePathParts, SetExtensionReplacesOrDropsTheExtension)
{
    struct Row { const char* name; const char* extension; const char* expected; };
    const Row rows[] = {{"name", "tre", "name.tre"}, {"a.b.c", "", "a.b"}, {"a.b", "ind", "a.ind"}, {"", "tre", ".tre"}};
    for (const Row& row : rows) {
        FilePath path("C:\\x.d\\", row.name);
        path.SetExtension(row.extension);
        EXPECT_EQ(Text(path.Name()), row.expected) << row.name;
        EXPECT_EQ(Text(path.Directory()), "C:\\x.d\\");
    }
}

TEST(FilePathParts, EqualityIgnoresCase)
{
    EXPECT_TRUE(FilePath("C:\\Dir\\File.TRE").EqualsNoCase(FilePath("c:\\dir\\file.tre")));
    EXPECT_FALSE(FilePath("C:\\Dir\\File.TRE").EqualsNoCase(FilePath("C:\\Dir2\\File.TRE")));
    FilePath path("C:\\a\\b");
    path.Clear();
    EXPECT_TRUE(path.IsEmpty());
}

TEST(DirectoryTexts, TrailingBackslashAndParents)
{
    struct Row { const char* text; int levels; const char* expected; };
    const Row rows[] = {
        {"C:\\a\\b\\", 1, "C:\\a\\"}, {"C:\\a\\b", 1, "C:\\a\\"}, {"C:\\a\\b\\", 2, "C:\\"},
        {"C:\\a\\b\\", -1, "C:\\"},   {"C:\\", 1, "C:\\"},        {"a", 1, "a\\"}, {"C:\\a\\b\\", 0, "C:\\a\\b\\"},
    };
    for (const Row& row : rows) {
        zString text(row.text);
        ParentDirectory(text, row.levels);
        EXPECT_EQ(Text(text), row.expected) << row.text << " " << row.levels;
    }
    zString empty;
    EnsureTrailingBackslash(empty);
    EXPECT_EQ(Text(empty), "\\");
    zString ends("C:\\a\\");
    EnsureTrailingBackslash(ends);
    EXPECT_EQ(Text(ends), "C:\\a\\");
    zString base("C:\\a\\");
    AppendDirectory(base, "tables");
    EXPECT_EQ(Text(base), "C:\\a\\tables\\");
}

// Stored form: version record, the full path as a stored string, then (from 2.5 build 4) 4 and 2 reserved bytes.
TEST(FilePathStored, WritesVersionPathAndReservedFields)
{
    FilePath path("C:\\a\\b.tre");
    Bytes bytes = WrittenBytes([&](Archive& archive) { path.Serialize(archive); });
    const Bytes expected = {0x03, 0x05, 0x00, 0x03, 0x05, 0x00, 0x0A, 0x00, 0x00, 0x00, 'C', ':', '\\', 'a', '\\',
                            'b',  '.',  't',  'r',  'e',  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);
    FilePath back;
    ReadStream in(bytes);
    back.Serialize(in);
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_EQ(in->BytesLeft(), 0u);
    EXPECT_TRUE(back.EqualsNoCase(path));
    EXPECT_EQ(Text(back.Name()), "b.tre");
}

TEST(FilePathStored, VersionsBeforeTwoFiveBuildFourHaveNoReservedFields)
{
    struct Row { uint8_t build; uint32_t left; };
    const Row rows[] = {{0x03, 6}, {0x04, 0}};
    for (const Row& row : rows) {
        ReadStream in({0x02, 0x05, row.build, 0x02, 0x05, row.build, 0x03, 0x00, 0x00, 0x00, 'x', '.', 'y', 0x00,
                       0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
        FilePath path;
        path.Serialize(in);
        EXPECT_EQ(in->FormatError(), 0u);
        EXPECT_EQ(in->BytesLeft(), row.left);
        EXPECT_EQ(Text(path.Name()), "x.y");
    }
}

TEST(FilePathStored, ADamagedRecordLeavesThePath)
{
    ReadStream in({0x03, 0x05, 0x00, 0x03, 0x05, 0x00, 0x40, 0x00, 0x00, 0x00, 'x'});
    FilePath path("C:\\keep.tre");
    path.Serialize(in);
    EXPECT_TRUE(in->Failed());
    EXPECT_EQ(Text(path.FullPath()), "C:\\keep.tre");
}

} // namespace
