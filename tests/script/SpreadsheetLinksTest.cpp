// Bi-directional spreadsheet links against the tests' automation server, a separate process reached through
// COM under the program id the links use: the roll back of a linked tree writes its variables into named cells
// and reads the workbook's result back; the server's call log is checked against the calls the links make.
// Tests that use the server run one at a time (a named lock): every client shares its one running instance.

#include "analysis/TreeEngines.h"
#include "model/DocumentLink.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

class SheetServerLock : public ProcessLock {
public:
    SheetServerLock() : ProcessLock("KIVO-tests-sheet-server") {}
};

int SheetServerProcesses()
{
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, "kivo_sheetserver.exe") == 0 ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

bool SheetServerEndsWithin(DWORD milliseconds)
{
    const DWORD begun = GetTickCount();
    while (SheetServerProcesses() > 0) {
        if (GetTickCount() - begun > milliseconds)
            return false;
        Sleep(100);
    }
    return true;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

// A tree linked to a workbook of the test server: a decision root whose one branch pays Sub(1), the link
// reading cell Result; X = 3 and Y = 4 at the root are written into In1 and In2; Z reads Result back.
struct LinkedWorkbookTree {
    SheetServerLock serverLock;
    ScopedApplication app;
    MessageBoxRecorder boxes;
    std::string book = TempFilePath("kivo-links-book.txt");
    std::string log = TempFilePath("kivo-links-calls.log");
    std::unique_ptr<TreeWindow> window = std::make_unique<TreeWindow>();
    TreeDocument& document = window->Document();
    TreeNode* payoff;

    explicit LinkedWorkbookTree(const char* cells = "In1 A1 n 0\nIn2 A2 n 0\nResult A3 s 0\nLabel B1 t none\n")
    {
        std::ofstream(book) << cells;
        DeleteFileA(log.c_str());
        SetEnvironmentVariableA("KIVO_SHEET_LOG", log.c_str());
        document.Root->SetKind(DecisionNode, false);
        payoff = document.AddChild(document.Root, TerminalNode, "Linked", "", "Sub(1)");
        document.EnsureVariable("X", "3")->WriteCell() = "In1";
        document.EnsureVariable("Y", "4")->WriteCell() = "In2";
        document.EnsureVariable("Z", nullptr)->ReadCell() = "Result";
        auto link = std::make_unique<DocumentLink>(1);
        link->item = "Result";
        link->biDirectional = 1;
        document.DocumentLinks.InsertSorted(link.release());
        document.Links.WorkbookPath() = book.c_str();
    }
    ~LinkedWorkbookTree() { SetEnvironmentVariableA("KIVO_SHEET_LOG", nullptr); }

    // The root's value, or the failure's text.
    std::string RollBack()
    {
        RollBackResult result = RollBackDocument(document);
        if (result.outcome.code != OutcomeCode::Done)
            return result.outcome.text.Text();
        std::ostringstream text;
        text << result.root.value;
        return text.str();
    }
};

TEST(SpreadsheetLinks, RollBackWritesTheTreeIntoTheWorkbookAndReadsItsResult)
{
    ASSERT_TRUE(SheetServerEndsWithin(10000));
    LinkedWorkbookTree tree;
    EXPECT_FALSE(tree.document.CalcStateRecord.HasAutomation());
    EXPECT_EQ(tree.RollBack(), "10");
    EXPECT_STREQ(tree.document.DocumentLinks.Find(1)->value.Text(), "10");
    const VariableDefinition* z = tree.payoff->FindBinding("Z", true);
    ASSERT_NE(z, nullptr);
    double bound = 0;
    EXPECT_TRUE(const_cast<Expression&>(z->definition).GetConstant(&bound));
    EXPECT_EQ(bound, 10);

    // Started, shown, the workbook opened with its 13 parameters, the two writes and the reads by name.
    const std::vector<std::string> expected = {"Application 22e 4 11:-1", "Application 23c 2", "Workbooks 76 2"};
    const std::vector<std::string> calls = ReadLines(tree.log);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 3), expected);
    EXPECT_EQ(calls[3].substr(0, 16), "Workbooks 2aa 1 ");
    EXPECT_NE(calls[3].find(" 2:0 2:0 10:missing 10:missing"), std::string::npos);
    const std::vector<std::string> write = {"Workbook 1ba 2", "Names aa 1 8:In1 10:missing 10:missing",
                                            "Name 488 2", "Range 6 4 5:3"};
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 4, calls.begin() + 8), write);

    // A second roll back finds the open workbook by its full name instead of opening it again.
    const size_t before = calls.size();
    EXPECT_EQ(tree.RollBack(), "10");
    const std::vector<std::string> again = ReadLines(tree.log);
    ASSERT_GT(again.size(), before + 3);
    EXPECT_EQ(again[before + 2], "Workbooks aa 2 2:1");
    EXPECT_EQ(again[before + 3], "Workbook 121 2");

    // The tree's going releases every object: the server ends.
    tree.window.reset();
    EXPECT_TRUE(SheetServerEndsWithin(10000));
}

} // namespace
