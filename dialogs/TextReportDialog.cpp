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

// Two header lines fit under the title; the notes list shows the rest of them first, then the notes, so the
// screen holds every line a saved report holds.
constexpr int kHeaderLinesShown = 2;

std::vector<const zString*> ListedLines(const TextReport& report)
{
    std::vector<const zString*> lines;
    for (int i = kHeaderLinesShown; i < report.HeaderLines().Count(); ++i)
        lines.push_back(report.HeaderLines().At(i));
    for (int i = 0; i < report.Notes().Count(); ++i)
        lines.push_back(report.Notes().At(i));
    return lines;
}

void FillNotes(DialogFrameCL& dialog, const std::vector<const zString*>& lines)
{
    if (!dialog.FindChild(Ids::NotesList))
        return;
    ListBoxCtrl* notes = ListBoxCtrl::FromTemplate(&dialog, Ids::NotesList);
    for (const zString* line : lines)
        notes->AddString(*line);
    SetFont(notes->Handle());
    notes->SetTabStops(kNoteTabStops, static_cast<int>(std::size(kNoteTabStops)));
    if (lines.empty())
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
    const int headerLines = report.HeaderLines().Count();
    for (int i = 0; i <= kHeaderLinesShown; ++i) {
        const zString* line = i == 0 ? &report.Title() : i <= headerLines ? report.HeaderLines().At(i - 1) : nullptr;
        if (WindowCL* text = dialog.FindChild(Ids::TitleText + i))
            text->SetText(line ? line->Text() : "");
    }
    MakeExportButton(dialog);
    const std::vector<const zString*> listed = ListedLines(report);
    RECT area = ChildRect(dialog, Ids::ListArea);
    if (listed.empty())
        area.bottom = ChildRect(dialog, Ids::NotesList).bottom;
    std::unique_ptr<ReportListView> list;
    {
        // The dialog shows once its table and notes are filled; the wait shows meanwhile.
        WaitCursorScope wait;
        report.CountColumns(true);
        list = ShowReportTable(dialog, Ids::ListArea, area, report);
        FillNotes(dialog, listed);
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
