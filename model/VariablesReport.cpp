#include "model/VariablesReport.h"

void FormatVariablesReportLine(const zString columns[ReportColumnCount], zString& out,
                               const VariablesReportSettings& settings)
{
    const int32_t included[ReportColumnCount] = {
        settings.includeName, settings.includeShortDescription, settings.includeFormula, settings.includeValue,
        settings.includeLow,  settings.includeHigh,             settings.includeComment,
    };
    out.Clear();
    for (int i = 0; i < ReportColumnCount; ++i) {
        if (!included[i])
            continue;
        if (!out.IsEmpty())
            out += '\t';
        if (columns[i].IsEmpty())
            out += ' ';
        else
            out += columns[i];
    }
}
