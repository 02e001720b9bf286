#include "foundation/RecentFileList.h"

#include "foundation/FileHelpers.h"
#include "foundation/PreferencesStore.h"
#include "tests/foundation/RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Runs with the "RecentFiles" section emptied and puts the section back as it was afterwards; the files
// named in the list are temporary files made for the test.
class RecentFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 6; ++n)
            saved.push_back(std::make_unique<SavedRegistryValue>("RecentFiles", ValueName(n).c_str()));
        DeleteProfileSection("RecentFiles", false);
        for (int i = 0; i < 7; ++i) {
            FilePath path;
            ASSERT_TRUE(MakeTempFilePath(path));
            files.push_back(path);
        }
    }
    void TearDown() override
    {
        DeleteProfileSection("RecentFiles", false);
        saved.clear();
        for (const FilePath& path : files)
            path.Delete();
    }

    static std::string ValueName(int n) { return "File" + std::to_string(n); }
    static std::string Stored(int n)
    {
        zString text;
        ReadProfileString("RecentFiles", ValueName(n).c_str(), text, 300, false);
        return text.Text();
    }
    static void Store(int n, const FilePath& path)
    {
        WriteProfileString("RecentFiles", ValueName(n).c_str(), path.FullPath().Text(), false);
    }
    std::string Full(int i) const { return files[i].FullPath().Text(); }
    static std::vector<std::string> Entries(const RecentFileList& list)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < list.Count(); ++i) {
            FilePath path;
            list.GetAt(i, path);
            entries.push_back(path.FullPath().Text());
        }
        return entries;
    }

    StoreTestLock lock;
    std::vector<std::unique_ptr<SavedRegistryValue>> saved;
    std::vector<FilePath> files;
};

TEST_F(RecentFilesTest, AddToFrontOnAFullListDropsTheOldest)
{
    RecentFileList list;
    EXPECT_EQ(list.Count(), 0);
    for (int i = 0; i < 7; ++i)
        list.AddToFront(files[i]);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{Full(6), Full(5), Full(4), Full(3), Full(2), Full(1)}));
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(Stored(n), Full(7 - n)) << n;
    FilePath outside;
    EXPECT_FALSE(list.GetAt(6, outside));
    EXPECT_FALSE(list.GetAt(-1, outside));
}

TEST_F(RecentFilesTest, MoveToFrontOfTheThirdLeavesTheLaterEntriesInPlace)
{
    RecentFileList list;
    for (int i = 5; i >= 0; --i)
        list.AddToFront(files[i]);
    ASSERT_EQ(Entries(list), (std::vector<std::string>{Full(0), Full(1), Full(2), Full(3), Full(4), Full(5)}));

    FilePath third(Full(2).c_str());
    zString upper = third.FullPath();
    upper.MakeUpper();
    FilePath thirdUpper(upper.Text());
    EXPECT_TRUE(list.Contains(thirdUpper));
    list.MoveToFront(thirdUpper);
    std::vector<std::string> entries = Entries(list);
    EXPECT_EQ(entries[0], upper.Text());
    EXPECT_EQ(std::vector<std::string>(entries.begin() + 1, entries.end()),
              (std::vector<std::string>{Full(0), Full(1), Full(3), Full(4), Full(5)}));
    EXPECT_EQ(Stored(1), upper.Text());
    EXPECT_EQ(Stored(3), Full(1));
}

TEST_F(RecentFilesTest, APathNotInTheListIsAddedByMoveToFront)
{
    RecentFileList list;
    list.AddToFront(files[0]);
    list.MoveToFront(files[1]);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{Full(1), Full(0)}));
}

TEST_F(RecentFilesTest, DeletedFilesAreSkippedAndDroppedAtTheNextSave)
{
    Store(1, files[0]);
    Store(2, files[1]);
    Store(3, files[2]);
    files[1].Delete();
    {
        RecentFileList list;
        EXPECT_EQ(Entries(list), (std::vector<std::string>{Full(0), Full(2)}));
    }
    EXPECT_EQ(Stored(1), Full(0));
    EXPECT_EQ(Stored(2), Full(2));
    EXPECT_EQ(Stored(3), "");
}

TEST_F(RecentFilesTest, AnEmptySecondValueEndsTheLoading)
{
    Store(1, files[0]);
    WriteProfileString("RecentFiles", "File2", "", false);
    Store(3, files[2]);
    RecentFileList list;
    EXPECT_EQ(Entries(list), (std::vector<std::string>{Full(0)}));
    EXPECT_FALSE(list.Contains(files[2]));
}

TEST_F(RecentFilesTest, SaveClearsTheOlderIniSection)
{
    WriteProfileString("RecentFiles", "File1", "C:\\old.tre", true);
    RecentFileList list;
    list.Save();
    EXPECT_EQ(IniValue("RecentFiles", "File1"), "");
}

} // namespace
