#include "foundation/TextReport.h"

namespace {

TextReportPresenter& Presenter()
{
    static TextReportPresenter presenter;
    return presenter;
}

void AppendLine(std::string& out, const zString& line)
{
    out += line.Text();
    out += "\r\n";
}

}  // namespace

std::string TextReport::ExportText() const
{
    std::string out;
    AppendLine(out, title);
    for (int i = 0; i < headerLines.Count(); ++i)
        AppendLine(out, *headerLines.At(i));
    zString headers;
    for (int i = 0; i < columnHeaders.Count(); ++i) {
        if (i > 0)
            headers += '\t';
        headers += *columnHeaders.At(i);
    }
    if (columnHeaders.Count() > 0)
        AppendLine(out, headers);
    for (int i = 0; i < lines.Count(); ++i)
        AppendLine(out, *lines.At(i));
    return out;
}

void ShowTextReport(TextReport& report)
{
    if (Presenter())
        Presenter()(report);
}

TextReportPresenter SetTextReportPresenter(TextReportPresenter presenter)
{
    TextReportPresenter previous = std::move(Presenter());
    Presenter() = std::move(presenter);
    return previous;
}
