#include "foundation/TextReport.h"

#include "foundation/PresenterSlot.h"

#include <algorithm>
#include <cstring>

namespace {

using Slot = PresenterSlot<TextReport, TextReportPresenter>;

void AppendLine(std::string& out, const char* line)
{
    out += line;
    out += "\r\n";
}

std::string JoinedHeaders(const NameList& headers)
{
    std::string joined;
    for (int i = 0; i < headers.Count(); ++i) {
        if (i > 0)
            joined += '\t';
        joined += headers.At(i)->Text();
    }
    return joined;
}

// The title and the lines under it, then the empty line before the table.
void AppendHead(std::string& out, const zString& title, const NameList& headerLines)
{
    AppendLine(out, title.Text());
    for (int i = 0; i < headerLines.Count(); ++i)
        AppendLine(out, headerLines.At(i)->Text());
    out += "\r\n";
}

// Appends the lines joined by CR LF, after `separator`, while the counted size stays within the limit.
bool AppendWithin(std::string& out, size_t& counted, const NameList& list, const char* separator)
{
    for (int i = 0; i < list.Count(); ++i) {
        const char* before = i == 0 ? separator : "\r\n";
        const size_t added = std::strlen(before) + list.At(i)->Length();
        if (counted + added > TextReport::kClipboardLimit)
            return false;
        out += before;
        out += list.At(i)->Text();
        counted += added;
    }
    return true;
}

} // namespace

int CountTabFields(const char* text)
{
    return 1 + static_cast<int>(std::count(text, text + std::strlen(text), '\t'));
}

std::vector<std::string> SplitAtTabs(const char* text)
{
    std::vector<std::string> fields(1);
    for (const char* c = text; *c; ++c) {
        if (*c == '\t')
            fields.emplace_back();
        else
            fields.back() += *c;
    }
    return fields;
}

void TextReport::AddColumns(const char* text, int count)
{
    std::vector<std::string> fields = SplitAtTabs(text);
    for (int i = 0; i < count && i < static_cast<int>(fields.size()); ++i)
        columnHeaders.AddText(fields[i].c_str());
}

void TextReport::ColumnText(const char* row, int column, zString& out)
{
    std::vector<std::string> fields = SplitAtTabs(row);
    if (column >= 0 && column < static_cast<int>(fields.size()))
        out = fields[column].c_str();
}

int TextReport::CountColumns(bool pad)
{
    int columns = 0;
    for (int i = 0; i < lines.Count() && i < kCountedRows; ++i)
        columns = std::max(columns, CountTabFields(lines.At(i)->Text()));
    while (pad && columnHeaders.Count() < columns)
        columnHeaders.AddText("");
    return columns;
}

std::string TextReport::ExportText() const
{
    std::string out;
    AppendHead(out, title, headerLines);
    AppendLine(out, JoinedHeaders(columnHeaders).c_str());
    for (int i = 0; i < lines.Count(); ++i)
        AppendLine(out, lines.At(i)->Text());
    if (notes.Count() > 0) {
        out += "\r\n\r\n";
        for (int i = 0; i < notes.Count(); ++i)
            AppendLine(out, notes.At(i)->Text());
    }
    return out;
}

bool TextReport::ClipboardText(std::string& out) const
{
    out.clear();
    AppendHead(out, title, headerLines);
    const std::string headers = JoinedHeaders(columnHeaders) + "\r\n";
    out += headers;
    size_t counted = headers.size();
    if (!AppendWithin(out, counted, lines, ""))
        return false;
    if (notes.Count() > 0 && !AppendWithin(out, counted, notes, "\r\n\r\n\r\n"))
        return false;
    return counted <= kClipboardLimit;
}

int ShowTextReport(TextReport& report, const char* command)
{
    return Slot::Current() ? Slot::Current()(report, command) : 1;
}

TextReportPresenter SetTextReportPresenter(TextReportPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}
