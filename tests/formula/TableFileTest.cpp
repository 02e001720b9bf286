// Table files: the stored form in both byte orders and older versions, the tables directory rule, and the
// registry's create, edit, provide and delete operations on real files.

#include "app/AppFlags.h"
#include "app/NamePopupMenu.h"
#include "dialogs/TableConflictDialog.h"
#include "dialogs/TablePropertiesDialog.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/Archive.h"
#include "foundation/FileHelpers.h"
#include "foundation/MemoryStream.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& out, std::initializer_list<uint8_t> bytes) { out.insert(out.end(), bytes); }

void AppendText(Bytes& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text)); }

// A number of `size` bytes, most significant first when bigEndian.
void AppendNumber(Bytes& out, uint64_t value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i) {
        const int shift = bigEndian ? (size - 1 - i) * 8 : i * 8;
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void AppendDouble(Bytes& out, double value, bool bigEndian)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, 8);
    AppendNumber(out, bits, 8, bigEndian);
}

void AppendStoredString(Bytes& out, std::initializer_list<uint8_t> version, const char* text, bool bigEndian)
{
    Append(out, version);
    AppendNumber(out, std::strlen(text), 4, bigEndian);
    AppendText(out, text);
    out.push_back(0);
}

bool ReadTable(Bytes bytes, LookupTable& table)
{
    MemoryStream stream(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    table.Serialize(stream, false);
    return !stream.Failed();
}

void ExpectEntries(LookupTable& table, std::vector<std::pair<double, double>> expected)
{
    ASSERT_EQ(table.Entries().Count(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table.Entries().EntryAt(static_cast<int>(i))->index, expected[i].first);
        EXPECT_EQ(table.Entries().EntryAt(static_cast<int>(i))->value, expected[i].second);
    }
}

TEST(TableFileTest, WrittenAndReadBackEqual)
{
    LookupTable table;
    table.SetName("Survival");
    table.SetComment("life table");
    table.SetMethod(LookupTable::IndexSpecific);
    table.SetOffEdgeIsError(true);
    table.SetEntry(40, 0.99);
    table.SetEntry(50, 0.97);
    MemoryStream out(100);
    table.Serialize(out, false);
    ASSERT_FALSE(out.Failed());
    Bytes bytes(out.Data(), out.Data() + out.Position());
    // version, mark 68 in the writer's (little-endian) order
    EXPECT_EQ(bytes[3], 68);
    EXPECT_EQ(bytes[4], 0);
    LookupTable back;
    ASSERT_TRUE(ReadTable(bytes, back));
    EXPECT_STREQ(back.Name().Text(), "Survival");
    EXPECT_STREQ(back.Key().Text(), "SURVIVAL");
    EXPECT_STREQ(back.Comment().Text(), "life table");
    EXPECT_EQ(back.GetMethod(), LookupTable::IndexSpecific);
    EXPECT_TRUE(back.OffEdgeIsError());
    ExpectEntries(back, {{40, 0.99}, {50, 0.97}});
}

TEST(TableFileTest, ByteSwappedFileReads)
{
    const bool big = true;
    Bytes bytes;
    Append(bytes, {3, 5, 0});
    Append(bytes, {0x00, 0x44});  // the mark 68 written in the other byte order
    AppendStoredString(bytes, {3, 5, 0}, "Rates", big);
    AppendStoredString(bytes, {3, 5, 0}, "hi", big);
    AppendNumber(bytes, 1, 2, big);  // truncation
    AppendNumber(bytes, 1, 2, big);  // off-edge flag
    Append(bytes, {3, 5, 0});
    AppendNumber(bytes, 2, 2, big);
    bytes.push_back(1);
    AppendNumber(bytes, 2, 2, big);
    AppendNumber(bytes, 213, 2, big);
    for (auto pair : {std::pair<double, double>{1.5, -2}, {2.5, 1e300}}) {
        Append(bytes, {3, 5, 0});
        AppendDouble(bytes, pair.first, big);
        AppendDouble(bytes, pair.second, big);
    }
    LookupTable table;
    ASSERT_TRUE(ReadTable(bytes, table));
    EXPECT_STREQ(table.Name().Text(), "Rates");
    EXPECT_STREQ(table.Comment().Text(), "hi");
    EXPECT_EQ(table.GetMethod(), LookupTable::Truncation);
    EXPECT_TRUE(table.OffEdgeIsError());
    ExpectEntries(table, {{1.5, -2}, {2.5, 1e300}});
}

TEST(TableFileTest, Version26FileReadsWithoutCommentAndFlag)
{
    const bool big = false;
    Bytes bytes;
    Append(bytes, {2, 6, 0});
    AppendStoredString(bytes, {2, 6, 0}, "Old", big);
    AppendNumber(bytes, 3, 2, big);
    Append(bytes, {2, 6, 0});
    AppendNumber(bytes, 2, 2, big);
    bytes.push_back(1);
    AppendNumber(bytes, 1, 2, big);
    AppendNumber(bytes, 213, 2, big);
    Append(bytes, {2, 6, 0});
    AppendDouble(bytes, 7, big);
    AppendDouble(bytes, 70, big);
    LookupTable table;
    table.SetComment("stale");
    table.SetOffEdgeIsError(true);
    ASSERT_TRUE(ReadTable(bytes, table));
    EXPECT_STREQ(table.Name().Text(), "Old");
    EXPECT_STREQ(table.Comment().Text(), "");
    EXPECT_FALSE(table.OffEdgeIsError());
    EXPECT_EQ(table.GetMethod(), LookupTable::IndexSpecific);
    ExpectEntries(table, {{7, 70}});
}

TEST(TableFileTest, BadMarkerOrTruncatedListIsFormatError30)
{
    LookupTable table;
    table.SetName("T");
    table.SetEntry(1, 2);
    table.SetEntry(2, 3);
    MemoryStream out(100);
    table.Serialize(out, false);
    Bytes bytes(out.Data(), out.Data() + out.Position());

    Bytes truncated(bytes.begin(), bytes.end() - 5);
    MemoryStream in(truncated.data(), static_cast<uint32_t>(truncated.size()), false);
    LookupTable back;
    back.Serialize(in, false);
    EXPECT_EQ(in.FormatError(), 30u);

    Bytes badMarker = bytes;
    // The marker follows the list's version (3), growth step (2), owns flag (1) and count (2).
    const size_t markerAt = bytes.size() - 2 * (3 + 16) - 2;
    ASSERT_EQ(badMarker[markerAt], 213);
    badMarker[markerAt] = 212;
    MemoryStream in2(badMarker.data(), static_cast<uint32_t>(badMarker.size()), false);
    LookupTable back2;
    back2.Serialize(in2, false);
    EXPECT_EQ(in2.FormatError(), 30u);
}

// A fresh tables directory under the temporary directory, emptied and released after the test.
class TableRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        directory = temp;
        // One directory per process: ctest runs test cases in parallel processes.
        directory += "kivo_tables_test" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(directory.c_str(), nullptr);
        RemoveFiles();
        SetTablesDirectory(directory.c_str());
        LoadTablesDirectory();
        savedLongNames = AppFlags::longFileNames;
        AppFlags::longFileNames = true;
    }
    void TearDown() override
    {
        FreeTables();
        RemoveFiles();
        RemoveDirectoryA(directory.c_str());
        AppFlags::longFileNames = savedLongNames;
        TablePropertiesDialog::SetPresenter(nullptr);
        TableConflictDialog::SetPresenter(nullptr);
    }
    void RemoveFiles()
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((directory + "*.tbl").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do
            DeleteFileA((directory + data.cFileName).c_str());
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
    bool FileExists(const char* name) const
    {
        return GetFileAttributesA((directory + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    void Reload()
    {
        FreeTables();
        LoadTablesDirectory();
    }

    std::string directory;
    bool savedLongNames = true;
};

TEST_F(TableRegistryTest, CreatedTableIsFoundAfterARestart)
{
    LookupTable* table = CreateTable("Rates", "rates", "yearly", LookupTable::Truncation, true);
    ASSERT_TRUE(table);
    EXPECT_TRUE(FileExists("rates.tbl"));
    table->SetEntry(1, 0.1);
    table->SetEntry(2, 0.2);
    ASSERT_TRUE(table->Save());
    Reload();
    LookupTable* back = FindTable("RATES", true);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->IsLoaded());  // the header only, until first use
    EXPECT_STREQ(back->Comment().Text(), "yearly");
    EXPECT_EQ(back->EntryCount(), 2);
    int32_t err = 0;
    EXPECT_DOUBLE_EQ(back->Lookup(1.9, &err), 0.1);
    EXPECT_EQ(FindTable("rates"), back);
    ASSERT_TRUE(TablesMenu());
    zString text;
    EXPECT_TRUE(TablesMenu()->ItemText(kFirstTableMenuId, text));
    EXPECT_STREQ(text.Text(), "Rates");
}

TEST_F(TableRegistryTest, RegistryIsSortedByUpperCaseKey)
{
    CreateTable("beta", "b", "", 2, false);
    CreateTable("Alpha", "a", "", 2, false);
    CreateTable("GAMMA", "g", "", 2, false);
    EXPECT_STREQ(GetTableAt(0)->Name().Text(), "Alpha");
    EXPECT_STREQ(GetTableAt(1)->Name().Text(), "beta");
    EXPECT_STREQ(GetTableAt(2)->Name().Text(), "GAMMA");
    EXPECT_EQ(GetTableAt(3), nullptr);
    EXPECT_TRUE(FileUsedByOtherTable(nullptr, "B"));
    EXPECT_FALSE(FileUsedByOtherTable(GetTableAt(1), "b"));
    FilePath path;
    EXPECT_TRUE(TablePath("gamma", path));
    EXPECT_STREQ(path.Name().Text(), "g.tbl");
}

TEST_F(TableRegistryTest, ClonedEntryOwnsItsOwnTable)
{
    CreateTable("Rates", "rates", "", 2, false);
    TableRegistry copy;
    copy.Copy(Tables(), true);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_NE(copy.EntryAt(0)->table, Tables().EntryAt(0)->table);
    copy.Clear();  // deleting the copy leaves the registry's table intact
    EXPECT_STREQ(Tables().EntryAt(0)->table->Name().Text(), "Rates");
}

TEST_F(TableRegistryTest, EditingPropertiesMovesTheFile)
{
    LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
    table->SetEntry(1, 5);
    table->Save();
    TablePropertiesDialog::SetPresenter([](TablePropertiesDialog& dialog) {
        EXPECT_STREQ(dialog.Caption().Text(), "Properties: Rates [ ]");
        dialog.name = "Costs";
        dialog.file = "costs";
        dialog.methodButton = TablePropertiesDialog::kTruncationButton;
        return IDOK;
    });
    EXPECT_EQ(EditTableProperties(table), 1);
    EXPECT_FALSE(FileExists("rates.tbl"));
    EXPECT_TRUE(FileExists("costs.tbl"));
    Reload();
    LookupTable* back = FindTable("Costs");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetMethod(), LookupTable::Truncation);
    EXPECT_EQ(back->EntryCount(), 1);
}

TEST_F(TableRegistryTest, PropertiesDialogRefusesBadOrTakenFileNames)
{
    CreateTable("Rates", "rates", "", 2, false);
    MessageBoxRecorder boxes;
    int round = 0;
    TablePropertiesDialog::SetPresenter([&](TablePropertiesDialog& dialog) {
        EXPECT_STREQ(dialog.Caption().Text(), "Properties: New Table");
        ++round;
        if (round == 1) {
            EXPECT_STREQ(dialog.name.Text(), "NewTable");
            EXPECT_STREQ(dialog.file.Text(), "newtable");
            dialog.file = "bad*name";
        } else if (round == 2) {
            EXPECT_EQ(dialog.FocusedField(), TablePropertiesDialog::kFileField);
            dialog.file = "RATES";
        } else if (round == 3) {
            dialog.file = "fresh";
        }
        return round <= 3 ? IDOK : IDCANCEL;
    });
    LookupTable* made = NewTable();
    ASSERT_TRUE(made);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "\"bad*name\" is not a legal filename.");
    EXPECT_EQ(boxes.Boxes()[1].text, "The file \"RATES\" is being used for another table.");
    EXPECT_TRUE(FileExists("fresh.tbl"));
    EXPECT_EQ(made->GetMethod(), LookupTable::Interpolation);
}

TEST_F(TableRegistryTest, UnreadableFileIsNeverOverwritten)
{
    LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
    for (int i = 0; i < 10; ++i)
        table->SetEntry(i, i);
    ASSERT_TRUE(table->Save());
    Reload();
    // Cut the file short: its pairs can no longer be read.
    const std::string path = directory + "rates.tbl";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const DWORD size = GetFileSize(file, nullptr);
    SetFilePointer(file, size - 20, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    LookupTable* back = FindTable("Rates");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->EntryCount(), 0);
    EXPECT_FALSE(back->IsLoaded());
    back->SetEntry(99, 1);
    EXPECT_FALSE(back->Save());
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, size - 20);
}

TEST_F(TableRegistryTest, ProvideTableFindsAFreeFileName)
{
    AppFlags::longFileNames = false;
    zString name("Abcdefghij");
    LookupTable* first = ProvideTable(name);
    ASSERT_TRUE(first);
    EXPECT_TRUE(FileExists("Abcdefgh.tbl"));
    zString second("AbcdefghXY");
    ASSERT_TRUE(ProvideTable(second));
    EXPECT_TRUE(FileExists("Abcdefg1.tbl"));
    for (char c = '2'; c <= '9'; ++c) {
        const std::string file = std::string("Abcdefg") + c;
        CreateTable(("T" + file).c_str(), file.c_str(), "", 2, false);
    }
    zString third("AbcdefghZZ");
    EXPECT_EQ(ProvideTable(third), nullptr);
}

TEST_F(TableRegistryTest, ProvideTableAsksAboutAnExistingName)
{
    LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
    table->SetEntry(1, 1);
    TableConflictDialog::SetPresenter([](TableConflictDialog& dialog) {
        EXPECT_STREQ(dialog.TableName().Text(), "Rates");
        return TableConflictDialog::Ignore;
    });
    zString name("RATES");
    EXPECT_EQ(ProvideTable(name), table);
    EXPECT_EQ(table->EntryCount(), 1);
    TableConflictDialog::SetPresenter([](TableConflictDialog&) { return TableConflictDialog::Overwrite; });
    EXPECT_EQ(ProvideTable(name), table);
    EXPECT_EQ(table->EntryCount(), 0);
}

TEST_F(TableRegistryTest, DeleteTableRemovesItsFile)
{
    LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
    DeleteTable(table);
    EXPECT_FALSE(FileExists("rates.tbl"));
    EXPECT_EQ(FindTable("Rates"), nullptr);
    EXPECT_EQ(TablesMenu()->NameCount(), 0);
}

TEST(TablesDirectoryTest, TableDirRule)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string program = std::string(temp) + "kivo_program_test\\";
    CreateDirectoryA(program.c_str(), nullptr);
    CreateDirectoryA((program + "Tables").c_str(), nullptr);
    DeleteFileA((program + "table.dir").c_str());
    zString out;
    FindTablesDirectory(program.c_str(), out);
    EXPECT_EQ(std::string(out.Text()), program + "Tables\\");

    // A named directory that does not exist, whose creation is declined, falls back to Tables.
    std::FILE* file = std::fopen((program + "table.dir").c_str(), "w");
    std::fprintf(file, "<%s>\n", (program + "missing").c_str());  // brackets are not file-name characters
    std::fclose(file);
    {
        MessageBoxRecorder boxes;
        boxes.Answer(IDNO);
        FindTablesDirectory(program.c_str(), out);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "The tables directory \"" + program +
                                         "missing\\\" does not exist. Do you want KIVO to create it for you?");
    }
    EXPECT_EQ(std::string(out.Text()), program + "Tables\\");

    // An existing, writable directory named there is taken.
    CreateDirectoryA((program + "missing").c_str(), nullptr);
    FindTablesDirectory(program.c_str(), out);
    EXPECT_EQ(std::string(out.Text()), program + "missing\\");
    DeleteFileA((program + "table.dir").c_str());
    RemoveDirectoryA((program + "missing").c_str());
    RemoveDirectoryA((program + "Tables").c_str());
    RemoveDirectoryA(program.c_str());
}

}  // namespace
