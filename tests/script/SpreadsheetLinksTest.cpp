// Bi-directional spreadsheet links against the tests' automation server, a separate process reached through
// COM under the program id the links use: the roll back of a linked tree writes its variables into named cells
// and reads the workbook's result back; the server's call log is checked against the calls the links make.
// Tests that use the server run one at a time (a named lock): every client shares its one running instance.

#include "analysis/TreeEngines.h"
#include "model/DocumentLink.h"
#include "model/TreeNode.h"
#include "widgets/LinksDialog.h"
#include "widgets/SpreadsheetLinksDialog.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <oleauto.h>
#include <tlhelp32.h>

#include <functional>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

class SheetServerLock : public ProcessLock {
public:
    SheetServerLock() : ProcessLock("KIVO-tests-sheet-server", LockRank::SheetServer) {}
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

// The number of the server's objects alive, as it last wrote it.
int LiveServerObjects(const std::string& log)
{
    int count = -1;
    std::ifstream(log + ".live") >> count;
    return count;
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
    // Only the application, the workbook and its names stay with the tree.
    EXPECT_EQ(LiveServerObjects(tree.log), 3);

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

// A server already running is attached and left as it is shown; the workbook's data is refreshed when the
// tree asks for it.
TEST(SpreadsheetLinks, ARunningServerIsAttachedWithoutBeingShown)
{
    ASSERT_TRUE(SheetServerEndsWithin(10000));
    LinkedWorkbookTree tree;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION server = {};
    std::string command = KIVO_SHEET_SERVER;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &server));
    CoInitialize(nullptr);
    CLSID application;
    CLSIDFromProgID(L"Excel.Application", &application);
    IUnknown* running = nullptr;
    PumpMessagesUntilEvery(100, [&] { return SUCCEEDED(GetActiveObject(application, nullptr, &running)); }, 60000);
    ASSERT_NE(running, nullptr) << "The spreadsheet server did not register as running";
    running->Release();
    tree.document.Links.Flags() = LinkSettings::RefreshOnOpen;
    EXPECT_EQ(tree.RollBack(), "10");
    const std::vector<std::string> calls = ReadLines(tree.log);
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0], "Application 23c 2");
    EXPECT_EQ(calls[2].substr(0, 16), "Workbooks 2aa 1 ");
    EXPECT_EQ(calls[3], "Workbook 5ac 1");
    tree.window.reset();
    // Its loop ends, and it is no longer registered as running.
    PostThreadMessageA(server.dwThreadId, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(server.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(server.hThread);
    CloseHandle(server.hProcess);
    CoUninitialize();
}

// The failures of a pass are the formula's errors, each with its text; nothing is written without a workbook,
// and a server that ends in the middle of a pass gives a failure within seconds.
TEST(SpreadsheetLinks, FailuresOfThePassAreEvaluationErrors)
{
    ASSERT_TRUE(SheetServerEndsWithin(10000));
    const std::string missing = TempFilePath("kivo-links-no-book.txt");
    struct Case {
        std::function<void(LinkedWorkbookTree&)> change;
        std::string text;
    } cases[] = {
        {[](LinkedWorkbookTree& t) { t.document.Links.WorkbookPath() = ""; },
         "You have not set up the bi-directional links."},
        {[&](LinkedWorkbookTree& t) { t.document.Links.WorkbookPath() = missing.c_str(); },
         "Unable to load workbook \"" + missing + "\"."},
        {[](LinkedWorkbookTree& t) { t.document.FindVariable("Y", true)->WriteCell() = "Nowhere"; },
         "Unable to set cell value in bi-directional link. Cell: \"Nowhere\". Variable: \"Y\"."},
        {[](LinkedWorkbookTree& t) { t.document.DocumentLinks.Find(1)->item = "Label"; },
         "Unable to retrieve cell value in bi-directional link. Cell: \"Label\". Variable: \"Sub(1)\"."},
        {[](LinkedWorkbookTree& t) { t.document.FindVariable("Z", true)->ReadCell() = "Sheet9!A1"; },
         "Unable to retrieve cell value in bi-directional link. Cell: \"Sheet9!A1\". Variable: \"Z\"."},
        {[](LinkedWorkbookTree& t) { t.document.Root->RemoveBinding("Y", false, true); },
         "No definition found for variable \"Y\"."},
    };
    for (const Case& c : cases) {
        {
            LinkedWorkbookTree tree;
            c.change(tree);
            EXPECT_NE(tree.RollBack().find(c.text), std::string::npos) << c.text;
            if (c.text.find("set up") != std::string::npos) {
                EXPECT_TRUE(ReadLines(tree.log).empty());
            }
            if (c.text.find("load") != std::string::npos) {
                EXPECT_EQ(LiveServerObjects(tree.log), 1);
            }
        }
        // Whatever failed, the tree released everything it had of the server.
        EXPECT_TRUE(SheetServerEndsWithin(10000)) << c.text;
    }
    // A reference on the active sheet and one on a named sheet stand in for names.
    {
        LinkedWorkbookTree tree;
        tree.document.FindVariable("X", true)->WriteCell() = "=Sheet1!A1";
        tree.document.DocumentLinks.Find(1)->item = "A3";
        EXPECT_EQ(tree.RollBack(), "10");
    }
    LinkedWorkbookTree dying("In1 A1 n 0\nIn2 A2 n 0\nResult A3 n 0\ndie-after 5\n");
    const DWORD begun = GetTickCount();
    const std::string failure = dying.RollBack();
    EXPECT_TRUE(failure.find("Unable to set cell value") != std::string::npos ||
                failure.find("Unable to retrieve cell value") != std::string::npos)
        << failure;
    EXPECT_LT(GetTickCount() - begun, 10000u);
    dying.window.reset();
    EXPECT_TRUE(SheetServerEndsWithin(10000));
}

// Bi-Directional Links from the Links dialog: Connect lists the workbook's names with the variables tied to
// them; a variable tied to two cells is refused; a blank mark unties the cell.
TEST(SpreadsheetLinks, TheDialogTiesVariablesToTheWorkbooksNames)
{
    ASSERT_TRUE(SheetServerEndsWithin(10000));
    LinkedWorkbookTree tree;
    std::function<int(SpreadsheetLinksDialog&)> steps;
    auto saved = SpreadsheetLinksDialog::SetPresenter([&steps](SpreadsheetLinksDialog& d) { return steps(d); });
    auto savedLinks = LinksDialog::SetPresenter([](LinksDialog& d) {
        d.EditSpreadsheetLinks();
        return IDCANCEL;
    });
    steps = [](SpreadsheetLinksDialog& d) {
        EXPECT_TRUE(d.Connect());
        EXPECT_EQ(d.rows, (std::vector<zString>{"In1\t<--\tX", "In2\t<--\tY", "Result\t-->>\tZ", "Label\t \t"}));
        if (d.rows.size() != 4)
            return IDCANCEL;
        d.rows[3] = SpreadsheetLinksDialog::MakeRow("Label", SpreadsheetLinksDialog::ReadAction, "X");
        return IDOK;
    };
    tree.boxes.Answer(IDOK);
    tree.window->OnCommand(1213);
    EXPECT_EQ(tree.boxes.Last().text, "More than one cell is linked to the variable \"X\".");
    steps = [](SpreadsheetLinksDialog& d) {
        if (!d.Connect() || d.rows.size() != 4)
            return IDCANCEL;
        d.rows[0] = SpreadsheetLinksDialog::MakeRow("In1", SpreadsheetLinksDialog::NoAction, "X");
        d.rows[3] = SpreadsheetLinksDialog::MakeRow("Label", SpreadsheetLinksDialog::ReadAction, "X");
        d.refresh = 1;
        return IDOK;
    };
    tree.window->OnCommand(1213);
    const DocVariable* x = tree.document.FindVariable("X", true);
    EXPECT_STREQ(x->WriteCell().Text(), "");
    EXPECT_STREQ(x->ReadCell().Text(), "Label");
    EXPECT_STREQ(tree.document.FindVariable("Y", true)->WriteCell().Text(), "In2");
    EXPECT_EQ(tree.document.Links.Flags(), 1);

    // A missing file is asked about; a workbook without names is refused.
    const std::string unnamed = TempFilePath("kivo-links-unnamed.txt");
    std::ofstream(unnamed) << "- A1 n 1\n";
    steps = [&](SpreadsheetLinksDialog& d) {
        d.path = (unnamed + ".gone").c_str();
        EXPECT_FALSE(d.Connect());
        EXPECT_EQ(tree.boxes.Last().text, "The file you have selected can not be found. Use it anyway?");
        d.path = unnamed.c_str();
        EXPECT_FALSE(d.Connect());
        EXPECT_EQ(tree.boxes.Last().text,
                  "No cells in the worksheet are named. To use bi-directional links, you must use named cells.");
        return IDCANCEL;
    };
    tree.boxes.Answer(IDNO);
    tree.window->OnCommand(1213);

    // OK without Connect stores the path and leaves the variables' cells, which the dialog never showed.
    steps = [](SpreadsheetLinksDialog& d) {
        d.path = "C:\\elsewhere\\book.xls";
        return IDOK;
    };
    tree.window->OnCommand(1213);
    EXPECT_STREQ(tree.document.Links.WorkbookPath().Text(), "C:\\elsewhere\\book.xls");
    EXPECT_STREQ(tree.document.FindVariable("X", true)->ReadCell().Text(), "Label");
    LinksDialog::SetPresenter(savedLinks);
    SpreadsheetLinksDialog::SetPresenter(saved);
    tree.window.reset();
    EXPECT_TRUE(SheetServerEndsWithin(10000));
}

// On the screen: the row left behind takes the direction and variable chosen for it, the dialog shows what it
// paints afresh, and OK stores the rows.
TEST(SpreadsheetLinks, OnTheScreenTheRowLeftBehindTakesTheChoice)
{
    ASSERT_TRUE(SheetServerEndsWithin(10000));
    FocusTestLock focus;
    LinkedWorkbookTree tree;
    using Dialog = SpreadsheetLinksDialog;
    auto selectRow = [](int row) {
        return [row](DialogFrameCL& dialog) {
            SendDlgItemMessageA(dialog.Handle(), Ctl::BiDirectionalLinks::SelectAnExcel97WorkbookFileList, LB_SETCURSEL,
                                row, 0);
            SendMessageA(
                dialog.Handle(), WM_COMMAND,
                MAKEWPARAM(Ctl::BiDirectionalLinks::SelectAnExcel97WorkbookFileList, LBN_SELCHANGE),
                reinterpret_cast<LPARAM>(dialog.Control(Ctl::BiDirectionalLinks::SelectAnExcel97WorkbookFileList)));
        };
    };
    ModalDialogDriver person;
    person.Press(Ctl::BiDirectionalLinks::Connect)
        .Then(selectRow(2))
        .Press(Ctl::BiDirectionalLinks::None)
        .Then(selectRow(3));
    person.Then([](DialogFrameCL& dialog) {
        SendDlgItemMessageA(dialog.Handle(), Ctl::BiDirectionalLinks::SpreadsheetTree, BM_CLICK, 0, 0);
        const HWND choice = dialog.Control(Ctl::BiDirectionalLinks::VariableChoice);
        SendMessageA(choice, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Z"));
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::BiDirectionalLinks::VariableChoice, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(choice));
    });
    person.Then(selectRow(0)).Then([](DialogFrameCL& dialog) {
        char row[64] = {};
        SendDlgItemMessageA(dialog.Handle(), Ctl::BiDirectionalLinks::SelectAnExcel97WorkbookFileList, LB_GETTEXT, 3,
                            reinterpret_cast<LPARAM>(row));
        EXPECT_STREQ(row, "Label\t-->>\tZ");
        ExpectScreenEqualsRepaint(dialog.Handle());
    });
    person.Press(IDOK);
    EXPECT_TRUE(Dialog(tree.document).Run());
    EXPECT_TRUE(person.Finished());
    EXPECT_STREQ(tree.document.FindVariable("Z", true)->ReadCell().Text(), "Label");
    EXPECT_STREQ(tree.document.FindVariable("X", true)->WriteCell().Text(), "In1");
    tree.window.reset();
    EXPECT_TRUE(SheetServerEndsWithin(10000));
}

} // namespace
