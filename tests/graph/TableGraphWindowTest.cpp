// A lookup table's window in the program's frame: opened from Define Values (once per table), its rows, the
// Table and Edit commands through the frame with their menu states, every change saved to the table's file,
// Paste Table that leaves the table alone when the text yields no pair, and the graph of the table.

#include "app/MainFrame.h"
#include "treewin/DefineValuesDialog.h"
#include "graph/TableEntryDialog.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/FilePath.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "graph/LineGraph.h"
#include "treewin/TableGraphWindow.h"
#include "tests/support/ClipboardTestText.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ProgramLoop.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<double, double>>;

class TableGraphWindows : public ::testing::Test {
protected:
    TableGraphWindows()
    {
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        directory = temp + std::string("kivo_table_windows") + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(directory.c_str(), nullptr);
        SetTablesDirectory(directory.c_str());
        LoadTablesDirectory();
    }
    ~TableGraphWindows() override
    {
        TableEntryDialog::SetPresenter(nullptr);
        delete frame;
        for (const char* file : {"rates.tbl"})
            DeleteFileA((directory + file).c_str());
        FreeTables();
    }

    // The pairs the person types into Add or Edit Table Entry, with More between them.
    static void Answer(Pairs pairs)
    {
        TableEntryDialog::SetPresenter([pairs](TableEntryDialog& dialog) {
            for (size_t i = 0; i < pairs.size(); ++i) {
                if (i > 0)
                    dialog.OnMore();
                dialog.index = pairs[i].first;
                dialog.value = pairs[i].second;
            }
            return IDOK;
        });
    }
    void Activate(WindowCL* window)
    {
        PumpMessagesUntil([&] {
            MSG pending;
            return frame->ActiveChild() == window && !PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
        });
    }
    void Post(unsigned id) { SendMessageA(frame->Handle(), WM_COMMAND, id, 0); }
    bool Grayed(UINT id)
    {
        SendMessageA(frame->Handle(), WM_INITMENU, 0, 0);
        return MenuItemGrayed(GetMenu(frame->Handle()), id);
    }
    std::string ItemText(UINT id) const
    {
        char text[64] = {};
        GetMenuStringA(GetMenu(frame->Handle()), id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    static std::vector<std::string> Rows(TableGraphWindow& window)
    {
        auto* list = static_cast<ListBoxCtrl*>(window.FindChild(Ctl::Table::ValueList));
        std::vector<std::string> rows;
        for (int i = 0; i < list->GetCount(); ++i) {
            zString row;
            list->GetString(row, i);
            rows.push_back(row.Text());
        }
        return rows;
    }
    static void SelectRow(TableGraphWindow& window, int row)
    {
        static_cast<ListBoxCtrl*>(window.FindChild(Ctl::Table::ValueList))->SetCurSel(row);
    }
    // The pairs of the table's file as another reader finds them.
    Pairs Saved() const
    {
        LookupTable reread;
        reread.ReadFile(FilePath((directory + "rates.tbl").c_str()), false);
        Pairs pairs;
        for (int i = 0; i < reread.EntryCount(); ++i) {
            double index = 0, value = 0;
            reread.GetEntry(i, index, value);
            pairs.emplace_back(index, value);
        }
        return pairs;
    }
    FocusTestLock focus;
    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    // The program's frame is the application's first window.
    MainFrame* frame = new MainFrame;
    MessageBoxRecorder boxes;
    std::string directory;
};

TEST_F(TableGraphWindows, DefineValuesOpensOneWindowThatAddsAtOnceSavesCopiesAndGraphs)
{
    ASSERT_NE(CreateTable("Rates", "rates", "", LookupTable::Interpolation, false), nullptr);
    auto* tree = new TreeWindow();
    tree->Show(SW_SHOWNORMAL);
    auto previous = DefineValuesDialog::SetPresenter([](DefineValuesDialog& dialog) {
        dialog.chosen.AddText("Rates  [ ]");
        return IDOK;
    });
    Answer({{2.25, 3}, {1, 0.5}});
    tree->OnCommand(Cmd::ValuesDefineValues);
    DefineValuesDialog::SetPresenter(previous);
    auto* window = dynamic_cast<TableGraphWindow*>(frame->ActiveChild());
    ASSERT_NE(window, nullptr);
    // The empty table's window asked for entries at once.
    PumpMessagesUntil([&] { return Rows(*window).size() == 2; });
    EXPECT_STREQ(window->Text(), "Table: Rates");
    EXPECT_EQ(Rows(*window), (std::vector<std::string>{"\t1\t0.5", "\t2.25\t3"}));
    EXPECT_EQ(window->SelectedRow(), 0);
    EXPECT_EQ(Saved(), (Pairs{{1, 0.5}, {2.25, 3}}));
    EXPECT_EQ(OpenTableGraph("RATES"), window);
    EXPECT_EQ(OpenTableGraph("Missing"), nullptr);
    Activate(window);

    EXPECT_FALSE(Grayed(Cmd::EditCopy));
    Post(Cmd::EditCopy);
    EXPECT_EQ(ClipboardText(), "1\t0.5\r\n2.25\t3\r\n");
    EXPECT_EQ(ItemText(Cmd::EditCopy), "&Copy Table\tCtrl+C");
    Post(Cmd::TableGraphTable);
    auto* graph = dynamic_cast<LineGraph*>(frame->ActiveChild());
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->title.text, "Graph of Table: Rates");
    EXPECT_EQ(graph->verticalLabel.text, "Value");
    EXPECT_EQ(graph->horizontalLabel.text, "Index");
    EXPECT_EQ(graph->Line(0).positions, (std::vector<double>{1, 2.25}));
    EXPECT_EQ(graph->Line(0).values, (std::vector<double>{0.5, 3}));
    delete graph;
    delete tree;
}

TEST_F(TableGraphWindows, EditDeleteAndPasteKeepOneEntryPerIndexAndTheFileUpToDate)
{
    LookupTable* table = CreateTable("Rates", "rates", "", LookupTable::Interpolation, false);
    ASSERT_NE(table, nullptr);
    table->SetEntry(1, 10);
    table->SetEntry(2, 20);
    table->SetEntry(3, 30);
    TableGraphWindow* window = OpenTableGraph("Rates");
    ASSERT_NE(window, nullptr);
    Activate(window);
    EXPECT_TRUE(Grayed(Cmd::TableEditEntry));
    EXPECT_TRUE(Grayed(Cmd::TableDeleteEntry));
    EXPECT_FALSE(Grayed(Cmd::TableGraphTable));

    // Row 3 moved onto index 1 replaces that entry.
    SelectRow(*window, 2);
    EXPECT_FALSE(Grayed(Cmd::TableEditEntry));
    Answer({{1, 31}});
    Post(Cmd::TableEditEntry);
    EXPECT_EQ(Rows(*window), (std::vector<std::string>{"\t1\t31", "\t2\t20"}));
    EXPECT_EQ(window->SelectedRow(), 0);
    Post(Cmd::TableDeleteEntry);
    EXPECT_EQ(Saved(), (Pairs{{2, 20}}));

    const struct {
        const char* text;
        bool offered;
        Pairs after;
    } pastes[] = {
        {"-1\t2", false, {{2, 20}}},
        {"1e3\t2\r\n", false, {{2, 20}}},
        {" 1..5 \t2", true, {{2, 20}}},  // passes the menu's test, yields no pair: the table stays
        {"1.5\t2\r\n4\t0.25\r\nend", true, {{1.5, 2}, {4, 0.25}}},
    };
    for (const auto& paste : pastes) {
        SCOPED_TRACE(paste.text);
        PutClipboardText(frame->Handle(), paste.text);
        EXPECT_EQ(Grayed(Cmd::EditPaste), !paste.offered);
        Post(Cmd::EditPaste);
        EXPECT_EQ(Saved(), paste.after);
    }
    EXPECT_EQ(ItemText(Cmd::EditPaste), "&Paste Table\tCtrl+V");
    EXPECT_EQ(Rows(*window), (std::vector<std::string>{"\t1.5\t2", "\t4\t0.25"}));
    ScreenOnTop top(window->Handle());
    ExpectScreenEqualsRepaint(window->Handle());
}

// Pasted text that repeats an index asks once, on the screen, which entry to keep; the focus opens on the
// checked "Sum entries".
TEST_F(TableGraphWindows, PastedRepeatedIndexAsksHowToMerge)
{
    LookupTable* table = CreateTable("Rates", "rates", "", LookupTable::Interpolation, false);
    ASSERT_NE(table, nullptr);
    table->SetEntry(9, 90);
    TableGraphWindow* window = OpenTableGraph("Rates");
    ASSERT_NE(window, nullptr);
    Activate(window);
    const struct {
        unsigned button;
        Pairs after;
    } cases[] = {
        {Ctl::PasteTable::KeepLastEntry, {{1, 5}, {2, 20}}},
        {Ctl::PasteTable::KeepFirstEntry, {{1, 10}, {2, 20}}},
        {Ctl::PasteTable::SumEntries, {{1, 15}, {2, 20}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        PutClipboardText(frame->Handle(), "1\t10\r\n2\t20\r\n1\t5\r\n");
        std::string caption;
        int asked = 0;
        HWND focus = nullptr;
        HWND sum = nullptr;
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& dialog) {
            char text[64] = {};
            GetWindowTextA(dialog.Handle(), text, sizeof text);
            caption = text;
            ++asked;
            focus = GetFocus();
            sum = dialog.FindChild(Ctl::PasteTable::SumEntries)->Handle();
            SendMessageA(dialog.FindChild(c.button)->Handle(), BM_CLICK, 0, 0);
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        });
        Post(Cmd::EditPaste);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(caption, "Paste Table");
        EXPECT_EQ(focus, sum);
        EXPECT_EQ(Saved(), c.after);
    }
}

// Ctrl+V with pairs that repeat an index, then Escape or Cancel in the question: nothing is pasted, and the
// table's rows and its file stay as they were.
TEST_F(TableGraphWindows, CancelledPasteQuestionKeepsTheTableAndItsFile)
{
    LookupTable* table = CreateTable("Rates", "rates", "", LookupTable::Interpolation, false);
    ASSERT_NE(table, nullptr);
    table->SetEntry(1, 10);
    table->SetEntry(2, 50);
    ASSERT_TRUE(table->Save());
    const std::string file = directory + "rates.tbl";
    WIN32_FILE_ATTRIBUTE_DATA before{};
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &before));
    TableGraphWindow* window = OpenTableGraph("Rates");
    ASSERT_NE(window, nullptr);
    Activate(window);
    ScreenOnTop top(frame->Handle());
    SetForegroundWindow(frame->Handle());
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        PutClipboardText(frame->Handle(), "5\t1\r\n5\t2\r\n");
        std::string caption;
        ModalDialogDriver driver;
        driver.Then([&](DialogFrameCL& dialog) {
            char text[64] = {};
            GetWindowTextA(dialog.Handle(), text, sizeof text);
            caption = text;
            if (escape) {
                RealInput::Keys("Escape");
                return;
            }
            RealInput::Click(RealInput::Middle(dialog.Control(IDCANCEL)));
        });
        RealInput::Keys("ctrl+v");
        ASSERT_TRUE(RunProgramLoopUntil([&] { return driver.Finished() && DialogFrameCL::ModalStack().empty(); }));
        EXPECT_EQ(caption, "Paste Table");
        EXPECT_EQ(Rows(*window), (std::vector<std::string>{"\t1\t10", "\t2\t50"}));
        EXPECT_EQ(Saved(), (Pairs{{1, 10}, {2, 50}}));
        WIN32_FILE_ATTRIBUTE_DATA after{};
        ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &after));
        EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
    }
}

} // namespace
