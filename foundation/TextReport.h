#pragma once
// A text report of an analysis: a title, the lines under it, column headers with their widths, one row per
// line with tab-separated fields, and notes written after the table. It is shown in the "Text Report"
// dialog, copied to the clipboard or saved to a file; lines end with CR LF.

#include "foundation/IntArray.h"
#include "foundation/NameList.h"
#include "foundation/zString.h"

#include <functional>
#include <string>
#include <vector>

class TextReport {
public:
    static constexpr int kDefaultWidth = 75;
    // The clipboard takes at most this many characters of the table and notes.
    static constexpr size_t kClipboardLimit = 32000;
    // The columns of a report are counted over this many rows.
    static constexpr int kCountedRows = 20;

    TextReport() = default;
    TextReport(const TextReport&) = delete;
    TextReport& operator=(const TextReport&) = delete;

    void SetTitle(const char* text) { title = text; }
    // A line under the title (a subtitle); lines are written as given.
    void AddHeaderLine(const char* text) { headerLines.AddText(text); }
    void AddColumnHeader(const char* header) { columnHeaders.AddText(header); }
    // Appends the first `count` tab-separated fields of the text as column headers.
    void AddColumns(const char* text, int count);
    // A list-view width in pixels; below 1 the column is sized to its header.
    void AddColumnWidth(int columnWidth) { columnWidths.InsertAt(columnWidth, -1); }
    void AddLine(const zString& line) { lines.AddCopy(line); }
    void AddNote(const char* text) { notes.AddText(text); }

    const zString& Title() const { return title; }
    const NameList& HeaderLines() const { return headerLines; }
    const NameList& ColumnHeaders() const { return columnHeaders; }
    const IntArray& ColumnWidths() const { return columnWidths; }
    const NameList& Lines() const { return lines; }
    const NameList& Notes() const { return notes; }
    int Width() const { return width; }

    // The field with the 0-based index of a tab-separated row; `out` is unchanged when the row is shorter.
    static void ColumnText(const char* row, int column, zString& out);
    // The most fields among the first rows; with `pad`, empty headers are added up to that many.
    int CountColumns(bool pad);

    // The file form: the title, the lines under it, an empty line, the headers joined by tabs, the rows and,
    // with notes, two empty lines and the notes. A long report outgrows a zString.
    std::string ExportText() const;
    // The clipboard form: like the file but without a line end after the last row, three line ends before
    // the notes, and at most kClipboardLimit characters counted from the header line on (rows and notes are
    // taken whole while they fit). Returns false when something was left out.
    bool ClipboardText(std::string& out) const;

private:
    zString title;
    NameList headerLines{4, true};
    NameList columnHeaders{4, true};
    IntArray columnWidths{4};
    NameList lines{16, true};
    NameList notes{4, true};
    int width = kDefaultWidth;
};

// 1 + the number of tabs in the text.
int CountTabFields(const char* text);
// The tab-separated fields of the text (always at least one).
std::vector<std::string> SplitAtTabs(const char* text);

// The single way a report reaches the user. Without a command (or with an empty one) the "Text Report"
// dialog shows it; a command "clip" (any case) copies it to the clipboard quietly, "show" runs the dialog,
// anything else is a file path the report is saved to. Returns 0 when the report could not be delivered
// (a file that could not be written), else 1. Until a presenter is installed nothing is shown.
int ShowTextReport(TextReport& report, const char* command = nullptr);

// The point where a report reaches the user; the program installs the dialog here, tests record the reports.
using TextReportPresenter = std::function<int(TextReport&, const char* command)>;
TextReportPresenter SetTextReportPresenter(TextReportPresenter presenter);
