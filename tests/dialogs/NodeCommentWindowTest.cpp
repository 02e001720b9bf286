// The node comment window: what opening it asks, its rows, and the whole comment it prints; and a tree and
// a comment going to the test printer and into the print preview page by page.

#include "treewin/NodeCommentWindow.h"

#include "widgets/PageGrid.h"
#include "widgets/PrintPreview.h"
#include "widgets/PrinterDevice.h"
#include "widgets/TextPane.h"
#include "widgets/TextPaneEdit.h"
#include "dialogs/PrintPagesDialog.h"
#include "framework/window/MDIframeCL.h"
#include "model/NodeComment.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/TestPrinter.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "line 1" to "line n", one per line.
std::string Lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += (i > 1 ? "\r\n" : "") + std::string("line ") + std::to_string(i);
    return text;
}

class NodeCommentWindowTest : public testing::Test {
protected:
    NodeCommentWindowTest()
    {
        SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
        frame.Show(SW_SHOW);
        node = tree.AddChild(tree.Root, ChanceNode, "Test");
        for (const char* name : {"A", "B"})
            tree.AddChild(node, TerminalNode, name, "0.5", "1");
    }
    ~NodeCommentWindowTest() override { InvalidCommentDialog::SetPresenter(nullptr); }

    // Node Comment on the node; the window it opened, or null.
    NodeCommentWindow* Open(TreeNode* at)
    {
        const int before = window.ChildWindows().Count();
        window.ClearSelection();
        window.Selection.Add(at);
        window.OnCommand(1414);
        const int after = window.ChildWindows().Count();
        return after > before ? static_cast<NodeCommentWindow*>(window.ChildWindows().At(after - 1)) : nullptr;
    }
    void SetRecords(const std::vector<std::pair<const char*, const char*>>& records)
    {
        BranchNameList& list = node->GetExtraList()->branches;
        list.Clear();
        for (const auto& r : records) {
            auto* record = new BranchName;
            record->name = r.first;
            record->comment = r.second;
            list.Add(record);
        }
    }
    // Each row as "label=text".
    static std::vector<std::string> RowTexts(const NodeCommentWindow& comment)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < comment.Rows().Count(); ++i) {
            char label[64] = "";
            GetDlgItemTextA(comment.Handle(), CommentRowSet::FirstLabelId + i, label, sizeof label);
            rows.push_back(std::string(label) + "=" + comment.Rows().Row(i).Edit().GetText().Text());
        }
        return rows;
    }
    PrinterDevice* TestPrinter()
    {
        const std::string entry = TestPrinterEntry();
        const DefaultPrinter described(entry.c_str());
        return new PrinterDevice(&described);
    }
    // Every page through a print job into a file; the pages the file holds.
    static int PrintedPages(DocChildWindow& printed)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        const std::string output = std::string(temp) + "kivo-comment.ps";
        DeleteFileA(output.c_str());
        EXPECT_TRUE(printed.Pane()->PrintRangeOf(printed.ReleasePrinter(), PrintRange{}, output.c_str()));
        return PostScriptPageCount(output);
    }

    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    MessageBoxRecorder boxes;
    TreeWindow window;
    TreeDocument& tree = window.Document();
    TreeNode* node = nullptr;
};

TEST_F(NodeCommentWindowTest, OpeningChecksTheCommentAgainstTheBranches)
{
    using Rows = std::vector<std::string>;
    const struct {
        std::vector<std::pair<const char*, const char*>> records;
        int answer; // 0: cancelled
        bool opens;
        Rows rows;
    } cases[] = {
        {{}, 0, true, {"A:=", "B:="}},
        {{{"A", "a"}, {"B", "b"}}, 0, true, {"A:=a", "B:=b"}},
        {{{"X", "old"}}, 0, false, {}},
        {{{"X", "old"}}, InvalidCommentDialog::Adjust, true, {"A:=old", "B:="}},
        {{{"X", "old"}}, InvalidCommentDialog::ThrowOut, true, {"A:=", "B:="}},
        {{{"X", "old"}}, InvalidCommentDialog::Keep, true, {"X:=old"}},
    };
    for (const auto& c : cases) {
        SetRecords(c.records);
        int asked = 0;
        InvalidCommentDialog::SetPresenter([&](InvalidCommentDialog& question) {
            ++asked;
            question.choice = c.answer;
            return c.answer != 0 ? IDOK : IDCANCEL;
        });
        NodeCommentWindow* comment = Open(node);
        EXPECT_EQ(asked, c.records.size() == 1 ? 1 : 0) << c.answer;
        ASSERT_EQ(comment != nullptr, c.opens) << c.answer;
        if (comment == nullptr)
            continue;
        EXPECT_EQ(RowTexts(*comment), c.rows) << c.answer;
        delete comment;
    }
    // A second Node Comment on the node opens no second window; a node without branches is refused.
    SetRecords({});
    NodeCommentWindow* first = Open(node);
    ASSERT_NE(first, nullptr);
    boxes.Answer(IDNO);
    EXPECT_EQ(Open(node), nullptr);
    EXPECT_EQ(boxes.Count(), 1u);
    delete first;
    EXPECT_EQ(Open(node->GetChild(0)), nullptr);
}

TEST_F(NodeCommentWindowTest, RowsTabAroundKeepTheirTextsAndCopyAllTakesTheWholeComment)
{
    ClipboardTestLock clipboardLock;
    window.Show(SW_SHOWNORMAL);
    MoveWindow(window.Handle(), 0, 0, 390, 290, TRUE);
    window.Redraw();
    SetRecords({{"A", ""}, {"B", ""}});
    NodeCommentWindow* comment = Open(node);
    ASSERT_NE(comment, nullptr);
    // The first text written puts the node's comment flag up at once (the window stands clear of it).
    MoveWindow(comment->Handle(), 400, 300, 300, 200, TRUE);
    {
        ScreenOnTop top(window.Handle());
        PumpMessagesUntil([] {
            MSG pending;
            return !PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
        });
        comment->Rows().Row(0).Edit().ReplaceSelection("first");
        ExpectScreenEqualsRepaint(window.Handle());
    }
    TextPaneEdit& last = comment->Rows().Row(1).Edit();
    SendMessageA(last.Handle(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(comment->CurrentRow(), 0);
    SendMessageA(comment->Rows().Row(0).Edit().Handle(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(comment->CurrentRow(), 1);

    // Typing goes into the record and changes the tree.
    window.SetModified(0);
    last.SetSelection(0, -1);
    last.ReplaceSelection("second\r\nline");
    EXPECT_STREQ(node->GetExtraList()->branches.At(1)->comment.Text(), "second\r\nline");
    EXPECT_NE(window.IsModified(), 0);

    SendMessageA(comment->Handle(), WM_COMMAND, 1203, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* copied = static_cast<const char*>(GlobalLock(data));
    EXPECT_STREQ(copied, "A:\r\nfirst\r\n\r\nB:\r\nsecond\r\nline\r\n\r\n");
    GlobalUnlock(data);
    CloseClipboard();

    // Reopened, the window stands where it was closed.
    MoveWindow(comment->Handle(), 40, 30, 300, 200, TRUE);
    delete comment;
    comment = Open(node);
    ASSERT_NE(comment, nullptr);
    RECT rect{};
    GetWindowRect(comment->Handle(), &rect);
    MapWindowPoints(nullptr, GetParent(comment->Handle()), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_NEAR(rect.left, 40, 1);
    EXPECT_NEAR(rect.top, 30, 1);
    EXPECT_NEAR(rect.right, 340, 1);
    EXPECT_NEAR(rect.bottom, 230, 1);
    delete comment;
}

// The modal form: a list that does not match is extended without asking, one row per branch; Tab goes
// round; OK writes every row.
TEST_F(NodeCommentWindowTest, TheModalFormWritesEveryRow)
{
    SetRecords({{"A", "first"}});
    std::vector<std::string> texts;
    HWND afterTab = nullptr, firstRow = nullptr;
    ModalDialogDriver driver;
    driver.Then([&](DialogFrameCL& dialog) {
        for (unsigned i = 0; i < 3; ++i)
            if (const HWND row = dialog.Control(NodeCommentDialog::FirstRowId + i))
                texts.push_back(WindowCL::TextOf(row).Text());
        firstRow = dialog.Control(NodeCommentDialog::FirstRowId);
        SetWindowTextA(dialog.Control(NodeCommentDialog::FirstRowId + 1), "second");
        SendMessageA(dialog.Control(NodeCommentDialog::FirstRowId + 1), WM_KEYDOWN, VK_TAB, 0);
        afterTab = GetFocus();
    });
    driver.Press(IDOK);
    EXPECT_EQ(NodeCommentDialog(node).Run(), 1);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(texts, (std::vector<std::string>{"first", ""}));
    EXPECT_EQ(afterTab, firstRow);
    const BranchNameList& records = node->GetExtraList()->branches;
    ASSERT_EQ(records.Count(), 2);
    EXPECT_STREQ(records.At(0)->comment.Text(), "first");
    EXPECT_STREQ(records.At(1)->comment.Text(), "second");
}

// A tree of three pages and a comment of some pages: each prints all its pages through the test printer,
// and its print preview shows the drawing on every page of the grid.
class TreeAndCommentPrinting : public NodeCommentWindowTest {
protected:
    TreeAndCommentPrinting()
    {
        for (int i = 0; i < 60; ++i)
            tree.AddChild(tree.Root, TerminalNode, ("Branch " + std::to_string(i)).c_str(), "", "1");
        window.Redraw();
        window.UsePrinter(TestPrinter());
        SetRecords({{"A", ""}, {"B", ""}, {"C", ""}});
        for (int i = 0; i < 3; ++i)
            node->GetExtraList()->branches.At(i)->comment = Lines(150).c_str();
        tree.AddChild(node, TerminalNode, "C", "0", "1");
    }
    // The preview's pages, column by column: how far below its page's top each shows the first thing darker
    // than the paper, in pixels; -1 for a blank page.
    static std::vector<int> FirstInk(PrintPagesDialog& dialog)
    {
        ShowWindow(dialog.Handle(), SW_SHOW);
        HWND preview = dialog.Preview()->window->Handle();
        UpdateWindow(preview);
        RECT client{};
        GetClientRect(preview, &client);
        const int columns = ZoomPane::Pages().Columns();
        const int rows = ZoomPane::Pages().Rows();
        std::vector<int> inks;
        HDC dc = GetDC(preview);
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row) {
                const int left = client.right * column / columns + 3;
                const int right = client.right * (column + 1) / columns - 3;
                const int top = client.bottom * row / rows;
                const int bottom = client.bottom * (row + 1) / rows;
                int ink = -1;
                for (int y = top + 2; y < bottom - 2 && ink < 0; ++y)
                    for (int x = left; x < right && ink < 0; ++x)
                        if (GetRValue(GetPixel(dc, x, y)) < 128)
                            ink = y - top;
                inks.push_back(ink);
            }
        ReleaseDC(preview, dc);
        return inks;
    }
};

TEST_F(TreeAndCommentPrinting, BothPrintEveryPageToTheTestPrinter)
{
    const int treePages = window.Pane()->CountPages(window.PrinterSetup());
    EXPECT_EQ(ZoomPane::Pages().Columns(), 1);
    EXPECT_GE(ZoomPane::Pages().Rows(), 3);
    EXPECT_EQ(PrintedPages(window), treePages);

    NodeCommentWindow* comment = Open(node);
    ASSERT_NE(comment, nullptr);
    comment->UsePrinter(TestPrinter());
    comment->Pane()->CountPages(comment->PrinterSetup());
    // Each branch: its name, 150 lines and an empty line.
    EXPECT_EQ(comment->Text().LineCount(), 3 * 152);
    const int perPage = comment->Text().LinesPerPage();
    EXPECT_EQ(comment->Text().PageCount(), (3 * 152 + perPage - 1) / perPage);
    EXPECT_EQ(ZoomPane::Pages().Rows(), comment->Text().PageCount());
    EXPECT_EQ(PrintedPages(*comment), comment->Text().PageCount());
    delete comment;
}

TEST_F(TreeAndCommentPrinting, ThePreviewShowsEachPageAsItPrints)
{
    // Letters large enough to be seen at the preview's scale: a few lines to a page.
    node->GetExtraList()->font.pointSize = 150;
    for (int i = 0; i < 3; ++i)
        node->GetExtraList()->branches.At(i)->comment = Lines(2).c_str();
    NodeCommentWindow* comment = Open(node);
    ASSERT_NE(comment, nullptr);
    comment->UsePrinter(TestPrinter());
    for (DocChildWindow* printed : {static_cast<DocChildWindow*>(&window), static_cast<DocChildWindow*>(comment)}) {
        PrintPagesDialog dialog(printed);
        ASSERT_NE(dialog.Preview(), nullptr);
        char count[16] = "";
        GetDlgItemTextA(dialog.Handle(), Ctl::Print::PagesText, count, sizeof count);
        const std::vector<int> inks = FirstInk(dialog);
        ASSERT_GE(inks.size(), 3u);
        EXPECT_EQ(std::to_string(inks.size()), count);
        for (size_t page = 0; page < inks.size(); ++page)
            EXPECT_GE(inks[page], 0) << printed->Text() << " page " << page + 1;
    }
    delete comment;
}

} // namespace
