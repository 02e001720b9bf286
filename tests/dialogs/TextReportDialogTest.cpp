// Text reports delivered by command: the dialog, the clipboard and files.

#include "widgets/MenuButton.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "foundation/TextReport.h"
#include "framework/window/Clipboard.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/ThreadWindow.h"

#include "CommandIds.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

struct OnScreen {
    FocusTestLock focus;
    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    RecordingTopWindow frame;
    OnScreen()
    {
        frame.Create();
        InstallTextReportDialog();
    }
    ~OnScreen() { SetTextReportPresenter(nullptr); }
};

void Fill(TextReport& report, int rows)
{
    report.SetTitle("KIVO(tm) Test");
    report.AddColumnHeader("Name");
    report.AddColumnHeader("Long column header");
    report.AddColumnWidth(60);
    report.AddColumnWidth(0);
    for (int i = 0; i < rows; ++i)
        report.AddLine(zString("row\t1\textra"));
}

std::string ClipboardText(WindowCL& owner)
{
    Clipboard clipboard(&owner);
    std::unique_ptr<char[]> text(clipboard.GetText());
    return text ? text.get() : "";
}

std::string FileText(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(TextReportDialog, CommandsChooseClipboardDialogOrFile)
{
    OnScreen screen;
    TextReport report;
    Fill(report, 2);
    std::string expected;
    report.ClipboardText(expected);

    EXPECT_EQ(ShowTextReport(report, "CLIP"), 1);
    EXPECT_EQ(ClipboardText(screen.frame), expected);

    ModalDialogDriver driver;
    int columns = 0, rows = 0, nameWidth = 0, headerWidth = 0;
    driver
        .Then([&](DialogFrameCL& dialog) {
            HWND list = GetDlgItem(dialog.Handle(), Ctl::TextReport::ListArea);
            HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
            columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
            rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            nameWidth = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
            headerWidth = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
        })
        .Press(IDOK);
    ShowTextReport(report, "Show");
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(columns, 3);  // the third field gets an empty header
    EXPECT_EQ(rows, 2);
    // The width-0 column fits its longer header.
    EXPECT_GT(headerWidth, nameWidth);

    FilePath reservation;
    ASSERT_TRUE(MakeTempFilePath(reservation));
    const zString path = reservation.FullPath();
    EXPECT_EQ(ShowTextReport(report, path.Text()), 1);
    EXPECT_EQ(FileText(path.Text()), report.ExportText());
    DeleteFileA(path.Text());
}

// A file that cannot be written is reported, and the caller told so.
TEST(TextReportDialog, UnwritableFileIsReported)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    TextReport report;
    Fill(report, 1);
    EXPECT_EQ(ShowTextReport(report, "Z:\\no\\such\\directory\\clips"), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "The folder of this file cannot be found. \"Z:\\no\\such\\directory\\clips\" was not saved.");
}

// A report over the clipboard limit asks before copying its truncated form; quiet copies do not ask.
TEST(TextReportDialog, LongReportAsksAndCopiesTruncated)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    boxes.Answer(IDNO);
    TextReport report;
    Fill(report, 3000);  // 3000 rows of 13 characters and a line end
    PutTextReportOnClipboard(report, screen.frame.Handle(), false);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "The text report is too long to fit on the clipboard. A truncated version will be copied.\n\n"
              "Do you want to save the complete report to a file?");
    const std::string copied = ClipboardText(screen.frame);
    EXPECT_LE(copied.size(), 32100u);
    EXPECT_GT(copied.size(), 31000u);
    ShowTextReport(report, "clIp");
    EXPECT_EQ(boxes.Count(), 1u);
}

namespace {

// The pop-up menu seen while it was open, picked by its first item through the keyboard.
RECT openedMenu{};

void CALLBACK PickFirstMenuItem(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menu = ThreadPopupMenu();
    if (!menu)
        return;
    KillTimer(nullptr, timer);
    GetWindowRect(menu, &openedMenu);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

// The Export menu button stands on its placeholder, opens right-aligned under itself and its pick reaches
// the dialog as a command.
TEST(TextReportDialog, ExportButtonCopiesThroughItsMenu)
{
    OnScreen screen;
    TextReport report;
    Fill(report, 2);
    Clipboard(&screen.frame).Empty();

    ModalDialogDriver driver;
    RECT button{};
    int arrowColumn = 0;
    bool placeholderShown = true;
    driver.Then([&](DialogFrameCL& dialog) {
        // Away from the screen's left edge, so that the menu can end under the button.
        SetWindowPos(dialog.Handle(), nullptr, 300, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        placeholderShown = IsWindowVisible(GetDlgItem(dialog.Handle(), Ctl::TextReport::ExportText));
        MenuButton* export_ = nullptr;
        for (WindowCL* child : dialog.Children())
            if (auto* found = dynamic_cast<MenuButton*>(child))
                export_ = found;
        ASSERT_NE(export_, nullptr);
        EXPECT_EQ(export_->FaceText(), "Export");
        GetWindowRect(export_->Handle(), &button);
        arrowColumn = export_->ArrowColumn();
        SetTimer(nullptr, 0, 30, PickFirstMenuItem);
        SendMessageA(export_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        driver.Press(IDOK);
    });
    ShowTextReport(report, "Show");
    EXPECT_TRUE(driver.Finished());
    EXPECT_FALSE(placeholderShown);
    EXPECT_EQ(arrowColumn, button.right - button.left - 1 - 20);
    EXPECT_EQ(openedMenu.right, button.right);
    EXPECT_EQ(openedMenu.top, button.bottom);
    std::string expected;
    report.ClipboardText(expected);
    EXPECT_EQ(ClipboardText(screen.frame), expected);
}

// However many lines stand under the title (a two-way analysis writes one per strategy), the dialog shows
// them all above the table, as the saved file has them; the notes list holds the notes alone.
TEST(TextReportDialog, EveryLineUnderTheTitleStandsAboveTheTable)
{
    OnScreen screen;
    TextReport report;
    Fill(report, 2);
    for (const char* line : {"In this order:", "* Medicine", "* Surgery", "* Wait"})
        report.AddHeaderLine(line);
    report.AddNote("A note");
    auto text = [](HWND window) {
        char buffer[256] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return std::string(buffer);
    };
    auto rect = [](HWND window) {
        RECT place{};
        GetWindowRect(window, &place);
        return place;
    };
    ModalDialogDriver driver;
    driver
        .Then([&](DialogFrameCL& dialog) {
            const HWND lines = GetDlgItem(dialog.Handle(), Ctl::TextReport::Text3376);
            const HWND notes = GetDlgItem(dialog.Handle(), Ctl::TextReport::NotesList);
            EXPECT_EQ(text(GetDlgItem(dialog.Handle(), Ctl::TextReport::Text3375)), "In this order:");
            EXPECT_EQ(text(lines), "* Medicine\r\n* Surgery\r\n* Wait");
            ASSERT_EQ(SendMessageA(notes, LB_GETCOUNT, 0, 0), 1);
            char note[64] = {};
            SendMessageA(notes, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(note));
            EXPECT_STREQ(note, "A note");
            // The three lines fit their text above the table, which keeps its height; the dialog holds all.
            const RECT shown = rect(lines);
            const RECT table = rect(GetDlgItem(dialog.Handle(), Ctl::TextReport::ListArea));
            HDC dc = GetDC(lines);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(lines, WM_GETFONT, 0, 0)));
            RECT needed{0, 0, shown.right - shown.left, 0};
            DrawTextA(dc, text(lines).c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            ReleaseDC(lines, dc);
            EXPECT_GE(shown.bottom - shown.top, needed.bottom);
            EXPECT_LE(shown.bottom, table.top);
            EXPECT_LE(rect(GetDlgItem(dialog.Handle(), IDOK)).bottom, rect(dialog.Handle()).bottom);
            ScreenOnTop top(dialog.Handle());
            ExpectScreenEqualsRepaint(dialog.Handle());
        })
        .Press(IDOK);
    ShowTextReport(report, "Show");
    EXPECT_TRUE(driver.Finished());
}
