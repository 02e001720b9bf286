#include "foundation/FilePath.h"

#include "foundation/FileHelpers.h"
#include "foundation/FileStream.h"
#include "foundation/NameList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// File operations on a scratch directory inside the system's temporary directory.
class FileOperations : public testing::Test {
protected:
    void SetUp() override
    {
        // The temporary file stays until TearDown: while it exists no other test process can be given the
        // same name, and so the same scratch directory.
        ASSERT_TRUE(MakeTempFilePath(reservation));
        directory = reservation.FullPath();
        directory += ".dir";
        ASSERT_TRUE(CreateDirectoryChain(directory.Text()));
        EnsureTrailingBackslash(directory);
    }
    void TearDown() override
    {
        // Only ever clean the scratch directory this fixture made: a failed SetUp leaves it empty.
        if (directory.Length() < 6 || !strstr(directory.Text(), ".dir\\"))
            return;
        NameList names(4, 1);
        FilePath::ListFiles(directory.Text(), "*", names);
        for (int i = 0; i < names.Count(); ++i) {
            if (*names.At(i) == "." || *names.At(i) == "..")
                continue;
            zString entry(directory);
            entry += names.At(i)->Text();
            DeleteFileA(entry.Text());
            RemoveDirectoryA(entry.Text());
        }
        RemoveDirectoryA(directory.Text());
        reservation.Delete();
    }

    FilePath In(const char* name) const { return FilePath(directory.Text(), name); }
    static void Write(const FilePath& path, const std::string& bytes)
    {
        std::ofstream out(path.FullPath().Text(), std::ios::binary);
        out << bytes;
    }
    static std::string Read(const FilePath& path)
    {
        std::ifstream in(path.FullPath().Text(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    FilePath reservation;
    zString directory;
};

TEST_F(FileOperations, ExistenceSizeAndDeletion)
{
    FilePath missing = In("missing.tre");
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.FileSize(), 0u);
    EXPECT_FALSE(missing.IsInUse());
    EXPECT_FALSE(missing.Delete());

    FilePath file = In("data.bin");
    Write(file, "12345");
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(file.FileSize(), 5u);
    EXPECT_FALSE(file.IsInUse());
    {
        FileHandle held = file.OpenHandle(false);
        ASSERT_TRUE(held.IsValid());
        EXPECT_TRUE(file.IsInUse());
    }
    EXPECT_FALSE(file.IsInUse());
    EXPECT_TRUE(file.Delete());
    EXPECT_FALSE(file.Exists());
}

TEST_F(FileOperations, OpeningAsStreamCFileAndHandle)
{
    FilePath file = In("stream.bin");
    {
        std::unique_ptr<FileStream> out = file.OpenStream(true);
        out->WriteLong(0x01020304);
        EXPECT_EQ(out->State(), 0u);
    }
    EXPECT_EQ(Read(file), std::string("\x04\x03\x02\x01", 4));
    {
        std::unique_ptr<FileStream> in = file.OpenStream(false);
        int32_t value = 0;
        in->ReadLong(value);
        EXPECT_EQ(value, 0x01020304);
    }
    {
        CFile text = file.OpenCFile(true);
        ASSERT_TRUE(text);
        std::fputs("line", text.get());
    }
    EXPECT_EQ(Read(file).substr(0, 4), "line");
    {
        FileHandle created = file.OpenHandle(true);
        ASSERT_TRUE(created.IsValid());
    }
    EXPECT_EQ(file.FileSize(), 0u);
    EXPECT_FALSE(In("none").OpenCFile(false));
    EXPECT_FALSE(In("none").OpenHandle(false).IsValid());
    EXPECT_NE(In("none").OpenStream(false)->State(), 0u);
}

TEST_F(FileOperations, WriteProbeLeavesNoFileBehind)
{
    EXPECT_TRUE(FilePath::CanWriteDirectory(directory.Text()));
    EXPECT_FALSE(In("testMorl.und").Exists());
    zString absent(directory);
    absent += "absent\\";
    EXPECT_FALSE(FilePath::CanWriteDirectory(absent.Text()));
}

TEST_F(FileOperations, DirectoryChainsAreCreatedFromTheFirstMissingParent)
{
    zString deep(directory);
    deep += "one\\two\\three\\";
    FilePath::EnsureDirectory(deep.Text());
    EXPECT_TRUE(FilePath::CanWriteDirectory(deep.Text()));
    RemoveDirectoryA(deep.Text());
    zString two(directory);
    two += "one\\two\\";
    RemoveDirectoryA(two.Text());
}

TEST_F(FileOperations, ListFilesAppendsMatchingEntries)
{
    Write(In("a.tbl"), "1");
    Write(In("b.tbl"), "2");
    Write(In("c.txt"), "3");
    NameList names(4, 1);
    names.AddText("kept");
    FilePath::ListFiles(directory.Text(), "*.tbl", names);
    std::vector<std::string> listed;
    for (int i = 0; i < names.Count(); ++i)
        listed.push_back(names.At(i)->Text());
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0], "kept");
    std::sort(listed.begin() + 1, listed.end());
    EXPECT_EQ(listed[1], "a.tbl");
    EXPECT_EQ(listed[2], "b.tbl");
}

TEST_F(FileOperations, MoveCopiesOverTheTargetAndDeletesTheSource)
{
    FilePath source = In("source.bin");
    FilePath target = In("target.bin");
    Write(source, "new");
    Write(target, "old contents");
    EXPECT_TRUE(MoveFilePath(source, target));
    EXPECT_FALSE(source.Exists());
    EXPECT_EQ(Read(target), "new");
    EXPECT_FALSE(MoveFilePath(In("missing"), target));
    EXPECT_EQ(Read(target), "new");
}

TEST_F(FileOperations, TemporaryFilesAreNewAndEmpty)
{
    FilePath first, second;
    ASSERT_TRUE(MakeTempFilePath(first));
    ASSERT_TRUE(MakeTempFilePath(second));
    EXPECT_FALSE(first.EqualsNoCase(second));
    EXPECT_TRUE(first.Exists());
    EXPECT_EQ(first.FileSize(), 0u);
    EXPECT_EQ(std::string(first.Name().Text()).substr(0, 3), "TRE");
    first.Delete();
    second.Delete();
}

} // namespace
