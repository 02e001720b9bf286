#pragma once
// Text reports on the screen, on the clipboard and in files. The "Text Report" dialog (3789) shows the title
// and two lines under it, the table in a report list view, the further lines under the title and the notes in
// a list box, and an "Export" menu button offering "To Clipboard" and "To File...".

#include <windows.h>

#include <memory>
#include <string>

class DialogFrameCL;
class ReportListView;
class TextReport;

class TextReportDialog {
public:
    enum : int {
        kClipboardItem = 3371,
        kFileItem = 3373,
    };

    explicit TextReportDialog(TextReport& report) : report(report) {}
    // Runs on the screen (nothing without an application).
    void Run();

private:
    TextReport& report;
};

// Writes the report's file form to the path, or, without one, to a file the user chooses ("textRpt.txt"
// proposed). A file that cannot be written is reported in an error box. Returns whether it was written.
bool SaveTextReport(TextReport& report, HWND owner, const char* path);
// The clipboard form of the report in `out`. A report over the clipboard limit is cut; unless quiet, the
// user is then asked whether to save the complete report to a file.
void CopyTextReport(TextReport& report, HWND owner, std::string& out, bool quiet);
// Empties the clipboard and puts the report's clipboard form there.
void PutTextReportOnClipboard(TextReport& report, HWND owner, bool quiet);

// A report list view of the report's table (its columns and rows, whose cells are read from the row texts
// when drawn) in place of the dialog's placeholder control, which is hidden and gives the list its id; the
// list covers the area, or the placeholder itself.
std::unique_ptr<ReportListView> ShowReportTable(DialogFrameCL& dialog, unsigned placeholder, const RECT& area,
                                                TextReport& report);
std::unique_ptr<ReportListView> ShowReportTable(DialogFrameCL& dialog, unsigned placeholder, TextReport& report);

// Delivers every report the program shows: the dialog, the clipboard or a file by the command.
void InstallTextReportDialog();
