#pragma once
// A text report of an analysis: a title, header lines, column headers with their widths, and one line per
// row with tab-separated fields. Its exported form is what the "Text Report" dialog copies to the clipboard
// or saves to a file.

#include "foundation/IntArray.h"
#include "foundation/NameList.h"
#include "foundation/zString.h"

#include <functional>
#include <string>

class TextReport {
public:
    static constexpr int kDefaultWidth = 75;

    TextReport() = default;
    TextReport(const TextReport&) = delete;
    TextReport& operator=(const TextReport&) = delete;

    void SetTitle(const char* text) { title = text; }
    void AddHeaderLine(const char* text) { headerLines.AddText(text); }
    void AddColumnHeader(const char* header) { columnHeaders.AddText(header); }
    void AddColumnWidth(int columnWidth) { columnWidths.InsertAt(columnWidth, -1); }
    void AddLine(const zString& line) { lines.AddCopy(line); }

    const zString& Title() const { return title; }
    const NameList& HeaderLines() const { return headerLines; }
    const NameList& ColumnHeaders() const { return columnHeaders; }
    const IntArray& ColumnWidths() const { return columnWidths; }
    const NameList& Lines() const { return lines; }
    int Width() const { return width; }

    // The exported text: the title line (which begins with "KIVO(tm) "), the header lines, the column
    // headers separated by tabs, then the lines; each line ends with a carriage return and a line feed. A
    // long report outgrows a zString, so the export is a standard string.
    std::string ExportText() const;

private:
    zString title;
    NameList headerLines{4, true};
    NameList columnHeaders{4, true};
    IntArray columnWidths{4};
    NameList lines{16, true};
    int width = kDefaultWidth;
};

// Shows the report in the modal "Text Report" dialog. Until a presenter is installed nothing is shown.
void ShowTextReport(TextReport& report);

// The point where a report reaches the screen; the dialog installs itself here, tests record the reports.
using TextReportPresenter = std::function<void(TextReport&)>;
TextReportPresenter SetTextReportPresenter(TextReportPresenter presenter);
