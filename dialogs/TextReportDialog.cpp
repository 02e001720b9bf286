#include "dialogs/TextReportDialog.h"

#include "widgets/CursorStack.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/MenuButton.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ReportListView.h"
#include "widgets/Shell.h"
#include "widgets/ProgramDialog.h"
#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/TextReport.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/Menu.h"
#include "framework/draw/zFont.h"
#include "framework/window/Clipboard.h"

#include "CommandIds.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace Ids = Ctl::TextReport;

namespace {

const char* const kTextFilter[] = {"Text Files (*.txt)", "*.txt", nullptr};

// Pixels a list-view header needs beside its text, more than the column margin the list view adds.
constexpr int kHeaderTextMargin = 8;

// The notes list box's tab stops in dialog units.
const int kNoteTabStops[] = {70, 115, 160, 205, 250, 295, 340, 385};  // not a resource id: tab stops

RECT ChildRect(DialogFrameCL& dialog, unsigned id)
{
    RECT rect{};
    if (WindowCL* child = dialog.FindChild(id)) {
        GetWindowRect(child->Handle(), &rect);
        MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

void SetFont(HWND window)
{
    if (const HFONT dialogFont = TheShell().DialogFontHandle())
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), TRUE);
}

// The "Export" control becomes a menu button offering the clipboard and a file; its picks come back to
// the dialog as commands.
void MakeExportButton(DialogFrameCL& dialog)
{
    auto menu = std::make_unique<Menu>();
    menu->AppendItem(TextReportDialog::kClipboardItem, "To Clipboard");
    menu->AppendItem(TextReportDialog::kFileItem, "To File...");
    MenuButton* button = MakeOwningMenuButton(std::move(menu), &dialog, Ids::ExportText);
    if (!button)
        return;
    button->Reset();
}

// The title and the lines under it, all above the table as a saved report has them: the last line's text
// grows to hold every line past the first, and whatever stands below it moves down as much.
void ShowHeaderLines(DialogFrameCL& dialog, const TextReport& report)
{
    const NameList& lines = report.HeaderLines();
    if (WindowCL* title = dialog.FindChild(Ids::TitleText))
        title->SetText(report.Title().Text());
    if (WindowCL* first = dialog.FindChild(Ids::Text3375))
        first->SetText(lines.Count() > 0 ? lines.At(0)->Text() : "");
    WindowCL* rest = dialog.FindChild(Ids::Text3376);
    if (rest == nullptr)
        return;
    zString text;
    for (int i = 1; i < lines.Count(); ++i) {
        if (i > 1)
            text += "\r\n";
        text += *lines.At(i);
    }
    rest->SetText(text.Text());
    const RECT place = ChildRect(dialog, Ids::Text3376);
    const int grow = std::max(0, lines.Count() - 2) * (place.bottom - place.top);
    if (grow == 0)
        return;
    for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        if (rect.top >= place.bottom)
            SetWindowPos(child, nullptr, rect.left, rect.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(rest->Handle(), nullptr, 0, 0, place.right - place.left, place.bottom - place.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame{};
    GetWindowRect(dialog.Handle(), &frame);
    SetWindowPos(dialog.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FillNotes(DialogFrameCL& dialog, const NameList& lines)
{
    if (!dialog.FindChild(Ids::NotesList))
        return;
    ListBoxCtrl* notes = ListBoxCtrl::FromTemplate(&dialog, Ids::NotesList);
    for (int i = 0; i < lines.Count(); ++i)
        notes->AddString(*lines.At(i));
    SetFont(notes->Handle());
    notes->SetTabStops(kNoteTabStops, static_cast<int>(std::size(kNoteTabStops)));
    if (lines.Count() == 0)
        ShowWindow(notes->Handle(), SW_HIDE);
}

bool IsCommand(const std::string& lowered, const char* prefix)
{
    return lowered.size() == 4 && lowered.compare(0, 3, prefix) == 0;
}

} // namespace

std::unique_ptr<ReportListView> ShowReportTable(DialogFrameCL& dialog, unsigned placeholder, const RECT& area,
                                                TextReport& report)
{
    if (WindowCL* place = dialog.FindChild(placeholder)) {
        ShowWindow(place->Handle(), SW_HIDE);
        SetWindowLongPtrA(place->Handle(), GWLP_ID, 0);
    }
    auto list = std::make_unique<ReportListView>(&dialog, area, 0, "", placeholder);
    SetFont(list->Handle());
    const int columns = report.ColumnHeaders().Count();
    std::vector<const char*> titles;
    std::vector<int> widths;
    for (int i = 0; i < columns; ++i) {
        titles.push_back(report.ColumnHeaders().At(i)->Text());
        int width = i < report.ColumnWidths().Count() ? report.ColumnWidths().At(i) : TextReport::kDefaultWidth;
        // A column is at least as wide as its header, so that no header is cut short.
        const int header = static_cast<int>(
            SendMessageA(list->Handle(), LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(titles.back())));
        if (width >= 1)
            width = std::max(width, header + kHeaderTextMargin);
        widths.push_back(width);
    }
    list->SetColumns(titles.data(), widths.data(), columns);
    for (int i = 0; i < columns; ++i) {
        if (widths[i] < 1)
            list->SetColumnWidth(i, LVSCW_AUTOSIZE_USEHEADER);
    }
    const NameList& rows = report.Lines();
    list->SetRows(rows.Count(), [&rows](int row, int column, zString& out) {
        if (row < rows.Count())
            TextReport::ColumnText(rows.At(row)->Text(), column, out);
    });
    return list;
}

std::unique_ptr<ReportListView> ShowReportTable(DialogFrameCL& dialog, unsigned placeholder, TextReport& report)
{
    return ShowReportTable(dialog, placeholder, ChildRect(dialog, placeholder), report);
}

bool SaveTextReport(TextReport& report, HWND owner, const char* path)
{
    FilePath target;
    if (path && *path)
        target.SetFullPath(path);
    else if (!ChooseSavePath(owner, kTextFilter, "Save Text Report", "textRpt.txt", target))
        return false;
    WaitCursorScope wait;
    const std::string text = report.ExportText();
    const zString fullPath = target.FullPath();
    zString message;
    const bool written = SaveFileBeside(fullPath.Text(), [&text](FileStream& stream) {
        stream.WriteBytes(text.data(), static_cast<uint32_t>(text.size()));
        return true;
    }, message);
    if (!written)
        ShowErrorBox(nullptr, message.Text(), 0);
    return written;
}

void CopyTextReport(TextReport& report, HWND owner, std::string& out, bool quiet)
{
    if (report.ClipboardText(out) || quiet)
        return;
    if (AskYesNo(nullptr,
                 "The text report is too long to fit on the clipboard. A truncated version will be copied.\n\n"
                 "Do you want to save the complete report to a file?",
                 0) == IDYES)
        SaveTextReport(report, owner, nullptr);
}

void PutTextReportOnClipboard(TextReport& report, HWND owner, bool quiet)
{
    std::string text;
    CopyTextReport(report, owner, text, quiet);
    Clipboard clipboard = MainWindowClipboard();
    clipboard.Empty();
    clipboard.PutText(text.c_str());
}

void TextReportDialog::Run()
{
    ProgramDialog dialog(DialogRes::TextReport);
    if (!dialog.Handle())
        return;
    ShowHeaderLines(dialog, report);
    MakeExportButton(dialog);
    RECT area = ChildRect(dialog, Ids::ListArea);
    if (report.Notes().Count() == 0)
        area.bottom = ChildRect(dialog, Ids::NotesList).bottom;
    std::unique_ptr<ReportListView> list;
    {
        // The dialog shows once its table and notes are filled; the wait shows meanwhile.
        WaitCursorScope wait;
        report.CountColumns(true);
        list = ShowReportTable(dialog, Ids::ListArea, area, report);
        FillNotes(dialog, report.Notes());
    }
    const HWND owner = dialog.Handle();
    dialog.OnButton(kClipboardItem, [&] { PutTextReportOnClipboard(report, owner, false); });
    dialog.OnButton(kFileItem, [&] { SaveTextReport(report, owner, nullptr); });
    dialog.Run();
}

void InstallTextReportDialog()
{
    SetTextReportPresenter([](TextReport& report, const char* command) {
        std::string lowered = command ? command : "";
        for (char& c : lowered)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lowered.empty() || IsCommand(lowered, "sho")) {
            TextReportDialog(report).Run();
            return 1;
        }
        if (IsCommand(lowered, "cli")) {
            PutTextReportOnClipboard(report, nullptr, true);
            return 1;
        }
        return SaveTextReport(report, nullptr, command) ? 1 : 0;
    });
}
