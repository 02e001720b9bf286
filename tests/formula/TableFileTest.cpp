// Table files: the stored form in both byte orders and older versions, the tables directory rule, and the
// registry's create, edit, provide and delete operations on real files.

#include "foundation/RandomGenerator.h"
#include "widgets/NamePopupMenu.h"
#include "widgets/TablesMenu.h"
#include "dialogs/TableConflictDialog.h"
#include "dialogs/TablePropertiesDialog.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionTypes.h"
#include "formula/EvalContextBase.h"
#include "formula/Expression.h"
#include "formula/Formula.h"
#include "formula/FormulaRef.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "formula/RunOutcome.h"
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

TEST(TableFileTest, VersionGatesOfTheHeader)
{
    struct Row {
        const char* what;
        std::initializer_list<uint8_t> version;
        bool mark;
        bool comment;
        bool flag;
        bool listMarker;
    };
    // 3.0 ranks below its betas; a stored 3.0 final ranks above them.
    const Row rows[] = {
        {"2.5", {2, 5, 0}, false, false, false, false},
        {"2.6", {2, 6, 0}, false, false, false, true},
        {"3.0.b2", {3, 0, 0xB2}, false, true, false, true},
        {"3.0.b4", {3, 0, 0xB4}, true, true, false, true},
        {"3.0.b9", {3, 0, 0xB9}, true, true, false, true},
        {"3.0", {3, 0, 0}, true, true, true, true},
        {"3.5", {3, 5, 0}, true, true, true, true},
    };
    for (const Row& row : rows) {
        Bytes bytes;
        Append(bytes, row.version);
        if (row.mark)
            AppendNumber(bytes, 68, 2, false);
        AppendStoredString(bytes, row.version, "Gate", false);
        if (row.comment)
            AppendStoredString(bytes, row.version, "why", false);
        AppendNumber(bytes, 1, 2, false);
        if (row.flag)
            AppendNumber(bytes, 1, 2, false);
        Append(bytes, row.version);
        AppendNumber(bytes, 2, 2, false);
        bytes.push_back(1);
        AppendNumber(bytes, 1, 2, false);
        if (row.listMarker)
            AppendNumber(bytes, 213, 2, false);
        Append(bytes, row.version);
        AppendDouble(bytes, 4, false);
        AppendDouble(bytes, 40, false);
        LookupTable table;
        table.SetComment("stale");
        ASSERT_TRUE(ReadTable(bytes, table)) << row.what;
        EXPECT_STREQ(table.Name().Text(), "Gate") << row.what;
        EXPECT_STREQ(table.Comment().Text(), row.comment ? "why" : "") << row.what;
        EXPECT_EQ(table.GetMethod(), LookupTable::Truncation) << row.what;
        EXPECT_EQ(table.OffEdgeIsError(), row.flag) << row.what;
        ExpectEntries(table, {{4, 40}});
    }
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
    }
    void TearDown() override
    {
        FreeTables();
        RemoveFiles();
        RemoveDirectoryA(directory.c_str());
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
    RunFault fault;
    EXPECT_DOUBLE_EQ(back->Lookup(1.9, &fault), 0.1);
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
        dialog.methodButton = Ctl::PropertiesNewTable::Truncation;
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
            EXPECT_EQ(dialog.FocusedField(), Ctl::PropertiesNewTable::FileEdit);
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
    // The file cut short (its pairs can no longer be read) or gone (it cannot be opened).
    for (bool removeFile : {false, true}) {
        LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
        ASSERT_TRUE(table);
        for (int i = 0; i < 10; ++i)
            table->SetEntry(i, i);
        ASSERT_TRUE(table->Save());
        Reload();
        const std::string path = directory + "rates.tbl";
        DWORD size = 0;
        if (removeFile) {
            ASSERT_TRUE(DeleteFileA(path.c_str()));
        } else {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            size = GetFileSize(file, nullptr) - 20;
            SetFilePointer(file, static_cast<LONG>(size), nullptr, FILE_BEGIN);
            SetEndOfFile(file);
            CloseHandle(file);
        }
        LookupTable* back = FindTable("Rates");
        ASSERT_TRUE(back);
        EXPECT_EQ(back->EntryCount(), 0) << removeFile;
        EXPECT_FALSE(back->IsLoaded()) << removeFile;
        MessageBoxRecorder boxes;
        back->SetEntry(99, 1);
        EXPECT_FALSE(back->Save()) << removeFile;
        back->PasteText("5\t50\r\n", false);
        EXPECT_FALSE(back->IsLoaded()) << removeFile;
        EXPECT_FALSE(back->Save()) << removeFile;
        ASSERT_EQ(boxes.Count(), 2u) << removeFile;
        EXPECT_EQ(boxes.Last().text, "The table \"Rates\" could not be saved to the file \"" + path + "\".");
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (removeFile) {
            EXPECT_FALSE(FileExists("rates.tbl"));
        } else {
            ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
            EXPECT_EQ(data.nFileSizeLow, size);
        }
        DeleteTable(back);
    }
}

// The new file is written before the old one goes: when it cannot be written, the table stays in its old
// file with its pairs.
TEST_F(TableRegistryTest, EditingKeepsTheOldFileWhenTheNewOneCannotBeWritten)
{
    LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
    table->SetEntry(1, 5);
    table->SetEntry(2, 6);
    ASSERT_TRUE(table->Save());
    // A directory of the new file's name cannot be opened as a file.
    const std::string blocked = directory + "blocked.tbl";
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
    TablePropertiesDialog::SetPresenter([](TablePropertiesDialog& dialog) {
        dialog.name = "Costs";
        dialog.file = "blocked";
        return IDOK;
    });
    MessageBoxRecorder boxes;
    EXPECT_EQ(EditTableProperties(table), 1);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The table \"Costs\" could not be saved to the file \"" + blocked + "\".");
    EXPECT_TRUE(FileExists("rates.tbl"));
    FilePath path;
    ASSERT_TRUE(TablePath("Costs", path));
    EXPECT_STREQ(path.Name().Text(), "rates.tbl");
    RemoveDirectoryA(blocked.c_str());
    Reload();
    LookupTable* back = FindTable("Costs");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->EntryCount(), 2);
}

// The old file is read again before the move; when it was damaged after the pairs were read, the pairs in
// memory are kept and go to the new file.
TEST_F(TableRegistryTest, EditingKeepsThePairsWhenTheOldFileIsDamaged)
{
    LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
    for (int i = 0; i < 10; ++i)
        table->SetEntry(i, i * 2);
    ASSERT_TRUE(table->Save());
    const std::string path = directory + "rates.tbl";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, static_cast<LONG>(GetFileSize(file, nullptr) - 20), nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    TablePropertiesDialog::SetPresenter([](TablePropertiesDialog& dialog) {
        dialog.file = "moved";
        return IDOK;
    });
    EXPECT_EQ(EditTableProperties(table), 1);
    EXPECT_EQ(table->EntryCount(), 10);
    EXPECT_FALSE(FileExists("rates.tbl"));
    Reload();
    LookupTable* back = FindTable("Rates");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->EntryCount(), 10);
    RunFault fault;
    EXPECT_DOUBLE_EQ(back->Lookup(8.5, &fault), 17);
}

// A new table whose file cannot be written would be lost at the next start: it is reported and not made.
TEST_F(TableRegistryTest, NewTableThatCannotBeSavedIsReportedAndNotMade)
{
    const std::string blocked = directory + "blocked.tbl";
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
    MessageBoxRecorder boxes;
    EXPECT_EQ(CreateTable("Rates", "blocked", "", 2, false), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The table \"Rates\" could not be saved to the file \"" + blocked + "\".");
    EXPECT_EQ(FindTable("Rates"), nullptr);
    EXPECT_EQ(TablesMenu()->NameCount(), 0);
    RemoveDirectoryA(blocked.c_str());
}

TEST_F(TableRegistryTest, TableBasedRecordDrawsFromItsTable)
{
    LookupTable* table = CreateTable("Probs", "probs", "", 2, false);
    table->SetEntry(1, 0.2);
    table->SetEntry(2, 0.5);
    table->SetEntry(3, 0.3);
    auto* distribution = MakeDistribution(16);
    distribution->Parameter(0)->SetText("probs");
    DistributionRecord record;
    record.SetDistribution(distribution);
    EXPECT_STREQ(record.tableName.Text(), "probs");
    RunFault fault;
    EXPECT_EQ(record.ExpectedValue(&fault), 2.0);
    SeedRandom(17);
    int counts[4] = {};
    for (int i = 0; i < 3000; ++i) {
        record.Sample(&fault);
        ASSERT_EQ(record.hasSample, 1);
        const double x = record.CurrentSample(&fault);
        ASSERT_TRUE(x == 1 || x == 2 || x == 3) << x;
        ++counts[static_cast<int>(x)];
    }
    EXPECT_FALSE(fault);
    EXPECT_GT(counts[1], 0);
    EXPECT_GT(counts[2], counts[1]);
    EXPECT_GT(counts[3], 0);
    record.sampled = 0;
    record.Sample(&fault);
    EXPECT_EQ(record.CurrentSample(&fault), 2.0);

    // Probabilities that fall short of 1 give the top quantiles no index: no sample.
    table->RemoveEntryAt(2);
    record.sampled = 1;
    bool failedOnce = false;
    for (int i = 0; i < 50 && !failedOnce; ++i) {
        RunFault drawError;
        record.Sample(&drawError);
        if (drawError) {
            failedOnce = true;
            EXPECT_EQ(record.hasSample, 0);
        }
    }
    EXPECT_TRUE(failedOnce);
}

TEST_F(TableRegistryTest, ProvideTableFindsAFreeFileName)
{
    CreateTable("Other", "Abcdefgh", "", 2, false);
    zString name("Abcdefgh");
    ASSERT_TRUE(ProvideTable(name));
    EXPECT_TRUE(FileExists("Abcdefg1.tbl"));
    for (char c = '2'; c <= '9'; ++c) {
        const std::string file = std::string("Abcdefg") + c;
        CreateTable(("T" + file).c_str(), file.c_str(), "", 2, false);
    }
    CreateTable("Last", "Abcdefgz", "", 2, false);
    zString taken("Abcdefgz");
    EXPECT_EQ(ProvideTable(taken), nullptr);
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

TEST_F(TableRegistryTest, ProvideTableRenamesTheNewTable)
{
    LookupTable* table = CreateTable("Rates", "rates", "", 2, false);
    TableConflictDialog::SetPresenter([](TableConflictDialog&) { return TableConflictDialog::Rename; });
    TablePropertiesDialog::SetPresenter([](TablePropertiesDialog& dialog) {
        dialog.name = "Rates2";
        dialog.file = "rates2";
        return IDOK;
    });
    zString name("Rates");
    LookupTable* made = ProvideTable(name);
    ASSERT_TRUE(made);
    EXPECT_NE(made, table);
    EXPECT_STREQ(name.Text(), "Rates2");
    EXPECT_TRUE(FileExists("rates2.tbl"));

    // Cancelling the new table's properties makes no table and leaves the name.
    TablePropertiesDialog::SetPresenter([](TablePropertiesDialog&) { return IDCANCEL; });
    zString again("Rates");
    EXPECT_EQ(ProvideTable(again), nullptr);
    EXPECT_STREQ(again.Text(), "Rates");
    EXPECT_EQ(Tables().Count(), 2);
}

namespace {

class NoVariables : public EvalContextBase {
public:
    double VariableValue(const zString&) override { return 0.0; }
};

}  // namespace

// A formula's kept parse tree finds its table again after every change of the directory: a renamed,
// deleted, recreated or edited table (-1: unknown table).
TEST_F(TableRegistryTest, KeptFormulaFollowsTheDirectory)
{
    FormulaRef ref(new NoVariables, 1, "payoff");
    Expression lookup("rates[1]");
    // The first evaluation parses and keeps the tree; the second runs the kept tree, whose node remembers
    // the table it found.
    auto value = [&] {
        double result = 0.0;
        for (int pass = 0; pass < 2; ++pass) {
            ref.Reset(new NoVariables, 1, "payoff");
            result = ref.Evaluate(lookup);
            if (ref.GetFormula().HasError())
                result = -1.0;
        }
        return result;
    };
    LookupTable* first = CreateTable("Rates", "rates", "", LookupTable::Truncation, false);
    first->SetEntry(1, 10);
    EXPECT_EQ(value(), 10);
    first->SetName("Other");
    EXPECT_EQ(value(), -1);
    first->SetName("Rates");
    DeleteTable(first);
    EXPECT_EQ(value(), -1);
    LookupTable* second = CreateTable("Rates", "rates2", "", LookupTable::Truncation, false);
    second->SetEntry(1, 20);
    EXPECT_EQ(value(), 20);
    TablePropertiesDialog::SetPresenter([](TablePropertiesDialog& dialog) {
        dialog.name = "Costs";
        return IDOK;
    });
    EditTableProperties(second);
    EXPECT_EQ(value(), -1);
    CreateTable("Rates", "rates3", "", LookupTable::Truncation, false)->SetEntry(1, 30);
    EXPECT_EQ(value(), 30);
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
    RemoveDirectoryA((program + "Tables").c_str());
    RemoveDirectoryA((program + "missing").c_str());
    DeleteFileA((program + "table.dir").c_str());
    // Without table.dir: the Tables subdirectory, created when the user agrees.
    zString out;
    {
        MessageBoxRecorder boxes;
        boxes.Answer(IDYES);
        FindTablesDirectory(program.c_str(), out);
        EXPECT_EQ(boxes.Count(), 1u);
    }
    EXPECT_EQ(std::string(out.Text()), program + "Tables\\");
    EXPECT_TRUE(FilePath::CanWriteDirectory(out.Text()));

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

    // Yes creates it, and it is taken.
    {
        MessageBoxRecorder boxes;
        boxes.Answer(IDYES);
        FindTablesDirectory(program.c_str(), out);
        EXPECT_EQ(boxes.Count(), 1u);
    }
    EXPECT_EQ(std::string(out.Text()), program + "missing\\");
    EXPECT_TRUE(FilePath::CanWriteDirectory((program + "missing\\").c_str()));

    // An existing, writable directory named there is taken without a question.
    FindTablesDirectory(program.c_str(), out);
    EXPECT_EQ(std::string(out.Text()), program + "missing\\");
    DeleteFileA((program + "table.dir").c_str());
    RemoveDirectoryA((program + "missing").c_str());
    RemoveDirectoryA((program + "Tables").c_str());
    RemoveDirectoryA(program.c_str());
}

}  // namespace
